#pragma once
// The run's windowing side on Win32: the background window, the wizard, the
// message boxes and dialogs, the resources and the calls that end a session.
#include <windows.h>

#include <memory>

#include "Appearance.h"
#include "ControlLibrary.h"
#include "Globals.h"
#include "Handles.h"
#include "MainWindow.h"
#include "MsgStrings.h"
#include "Shell.h"
#include "Wizard.h"

namespace scrubber {

// No window, fixed answers, but waits that dispatch for their whole time.
class SilentRunUi final : public HeadlessUi {
 public:
  explicit SilentRunUi(MainWindow& main) : main_(main) {}
  void PumpMessages(std::uint32_t milliseconds) override { main_.Wait(milliseconds, nullptr); }

 private:
  MainWindow& main_;
};

class Win32Shell final : public Shell {
 public:
  Win32Shell(HINSTANCE instance, Globals& globals) : instance_(instance), globals_(globals) {}

  // ParseUi
  void ShowMessage(int textId, int captionId, std::string_view text, std::string_view caption) override;
  void SetMainTitle(std::string_view title) override;

  void DisableImeUnlessInteractive() override;
  std::string ModulePath() override;
  std::string TempFileName(std::string_view directory, std::string_view prefix, unsigned unique) override;
  unsigned RunNumber() override;
  void LoadWizardBitmap() override;
  void ReleaseWizardBitmap() override;
  bool EnterInstance() override;
  void LeaveInstance() override;
  int ShowMessageBox(std::string_view text, std::string_view caption, unsigned type, BoxOwner owner) override;
  void InitAppearance(const AppearanceSettings& settings) override;
  void DeleteFonts() override;
  void DeletePalette() override;
  bool CreateMainWindow(std::string_view caption, bool show) override;
  void CloseMainWindow() override;
  void WaitOneSecond() override;
  void LoadControlLibrary(bool autoSubclass) override;
  void UnloadControlLibrary() override;
  std::string AskForLog(std::string_view filterText) override;
  void SetWaitCursor(bool wait) override;
  bool CreateWizard(UninstallModel& model, const MsgStrings& strings) override;
  void WaitForWizard() override;
  EngineUi& WizardUi() override;
  EngineUi& SilentUi() override { return silent_; }
  void DestroyWizard() override;
  void BroadcastSettingsChange() override;
  void ReportStatus(const StatusReport& report) override;
  [[nodiscard]] bool WriteRestartHelper(std::string_view path) override;
  void StartProgram(std::string_view commandLine) override;
  void RestartSystem(unsigned exitFlags) override;

 private:
  HWND OwnerWindow(BoxOwner owner) const;

  HINSTANCE instance_;
  Globals& globals_;
  Appearance appearance_;
  MainWindow main_{appearance_};
  ControlLibrary controls_;
  win32::AutoDeleteBitmap bitmap_;
  std::unique_ptr<Wizard> wizard_;
  SilentRunUi silent_{main_};
  HCURSOR previousCursor_ = nullptr;
};

}  // namespace scrubber
