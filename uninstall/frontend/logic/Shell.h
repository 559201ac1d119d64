#pragma once
// What the run needs of the windowing system and of its own process, beyond
// the engine's platform: windows, dialogs, fonts, resources and the calls
// that end a session. The Win32 program implements it; the tests record it.
#include <cstdint>
#include <string>
#include <string_view>

#include "Gradient.h"
#include "MsgStrings.h"
#include "ParseInstallLog.h"
#include "run/EngineUi.h"

namespace scrubber {

// Message box types and answers, as the platform numbers them.
inline constexpr unsigned kBoxOk = 0;
inline constexpr unsigned kBoxOkCancel = 1;
inline constexpr unsigned kBoxYesNo = 4;
inline constexpr unsigned kBoxInformation = 64;
inline constexpr int kAnswerOk = 1;
inline constexpr int kAnswerCancel = 2;
inline constexpr int kAnswerYes = 6;
// ExitWindowsEx's restart: its flags 0 would only log the user off, and the
// replacements waiting for the restart would not happen.
inline constexpr unsigned kExitRestart = 0x2;

// The appearance read from the settings file at start-up.
struct AppearanceSettings {
  GradientSettings gradient;
  std::int32_t noBackground = 0;
  std::string titleFace;   // "TitleFont"
  std::uint8_t charset = 0;  // low 8 bits of "Font Character Set"
};

// The status report's call: the two libraries and the eight values.
struct StatusReport {
  std::string runtimeLibrary;  // msvcrt20.dll in the System directory
  std::string statusLibrary;   // ismif32.dll in the Windows directory
  const HeaderRecord* header = nullptr;
  std::int32_t status = 0;     // 0 before the wizard, 1 after the engine
};

enum class BoxOwner { None, MainWindow, Wizard };

class Shell : public ParseUi {
 public:
  // ParseUi: the log reader's messages are owned by the main window and its
  // title is set on the main window.

  // On the NT family, input-method windows are switched off for a process
  // that runs neither for an interactive user nor as the system.
  virtual void DisableImeUnlessInteractive() = 0;
  // The program file as the module-name query returns it.
  virtual std::string ModulePath() = 0;
  // The platform's temporary-name function with the given unique number
  // (1 to 0xFFFF: the name is only made, no file is created).
  virtual std::string TempFileName(std::string_view directory, std::string_view prefix, unsigned unique) = 0;
  // A number from 1 to 0xFFFF that differs from run to run, so that this
  // run's temporary names do not meet an earlier run's.
  virtual unsigned RunNumber() = 0;

  virtual void LoadWizardBitmap() = 0;
  virtual void ReleaseWizardBitmap() = 0;

  // The counter shared by every process of this program file: atomic
  // increment, true when this is the first instance; and the decrement.
  virtual bool EnterInstance() = 0;
  virtual void LeaveInstance() = 0;

  virtual int ShowMessageBox(std::string_view text, std::string_view caption, unsigned type, BoxOwner owner) = 0;

  // Fonts, screen size and palette; the main window's gradient.
  virtual void InitAppearance(const AppearanceSettings& settings) = 0;
  virtual void DeleteFonts() = 0;
  virtual void DeletePalette() = 0;

  // The background window; false when it cannot be registered or created.
  virtual bool CreateMainWindow(std::string_view caption, bool show) = 0;
  // Destroys the main window and dispatches messages until the quit message.
  virtual void CloseMainWindow() = 0;
  // Waits one second, dispatching messages.
  virtual void WaitOneSecond() = 0;

  // The three-dimensional control library, when present.
  virtual void LoadControlLibrary(bool autoSubclass) = 0;
  virtual void UnloadControlLibrary() = 0;

  // The open-file dialog for a log; empty when cancelled.
  virtual std::string AskForLog(std::string_view filterText) = 0;
  virtual void SetWaitCursor(bool wait) = 0;

  // The wizard over the model, modeless, with the main window disabled;
  // false when it cannot be created.
  virtual bool CreateWizard(UninstallModel& model, const MsgStrings& strings) = 0;
  // Dispatches messages until Finish or a confirmed Cancel.
  virtual void WaitForWizard() = 0;
  // The engine's link to the user: the wizard, or no window at all.
  virtual EngineUi& WizardUi() = 0;
  // The link of a run without a wizard: nothing shown, nothing asked, but a
  // timed pump still takes its time (a deleted service's program may still
  // be ending) while it dispatches what the thread has queued.
  virtual EngineUi& SilentUi() = 0;
  virtual void DestroyWizard() = 0;

  virtual void BroadcastSettingsChange() = 0;
  virtual void ReportStatus(const StatusReport& report) = 0;

  // Writes the restart helper resource to that file; true only when every
  // byte of it was written.
  [[nodiscard]] virtual bool WriteRestartHelper(std::string_view path) = 0;
  // Starts a program with its window shown normally; no waiting.
  virtual void StartProgram(std::string_view commandLine) = 0;
  // Asks the system itself to end the session in the way `exitFlags` says
  // (platforms other than the NT family).
  virtual void RestartSystem(unsigned exitFlags) = 0;
};

}  // namespace scrubber
