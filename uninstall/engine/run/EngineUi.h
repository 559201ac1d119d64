#pragma once
// The engine's only link to the user while it runs. The wizard implements
// it over its dialog; a headless implementation serves silent runs and the
// tests. Nothing here blocks except the two questions.
#include <cstdint>
#include <optional>
#include <string_view>

namespace scrubber {

// Button identifiers the Remove Shared Component dialog ends with.
enum SharedDialogAnswer : int {
  kSharedNoToAll = 1,  // the default button
  kSharedClosed = 2,   // the dialog was closed without an answer
  kSharedNo = 1006,
  kSharedYes = 1007,
};

// Buttons of the database-server message (IDABORT, IDRETRY, IDIGNORE).
enum ServerAnswer : int { kServerAbort = 3, kServerRetry = 4, kServerIgnore = 5 };

class EngineUi {
 public:
  virtual ~EngineUi() = default;
  // Once, when the engine begins: the wizard's text control gets `text`, its
  // Next and Back buttons are disabled and the progress bar is shown.
  virtual void BeginProgress(std::string_view text) = 0;
  // A progress line for the status control (or none), and a repaint of the
  // bar, which reads progressDone and progressTotal.
  virtual void ShowProgress(std::optional<std::string_view> text) = 0;
  // Dispatches queued messages; with a time, keeps dispatching until that
  // time has passed. Cancel is noticed here.
  virtual void PumpMessages(std::uint32_t milliseconds) = 0;
  // The Remove Shared Component dialog with the prepared text, modal over
  // the main window; one of SharedDialogAnswer.
  virtual int AskRemoveShared(std::string_view text) = 0;
  // The database-server message with Abort, Retry and Ignore; one of ServerAnswer.
  virtual int ShowServerRunning(std::string_view text, std::string_view caption) = 0;
  // Gives the keyboard focus back to the wizard after a question.
  virtual void FocusWizard() = 0;
};

// No window at all: progress goes nowhere, questions get fixed answers.
// Silent runs never ask the shared-file question; a server that is running
// is ignored unless told otherwise.
class HeadlessUi : public EngineUi {
 public:
  void BeginProgress(std::string_view) override {}
  void ShowProgress(std::optional<std::string_view>) override {}
  void PumpMessages(std::uint32_t) override {}
  int AskRemoveShared(std::string_view) override { return sharedAnswer; }
  int ShowServerRunning(std::string_view, std::string_view) override { return serverAnswer; }
  void FocusWizard() override {}

  int sharedAnswer = kSharedNo;
  int serverAnswer = kServerIgnore;
};

}  // namespace scrubber
