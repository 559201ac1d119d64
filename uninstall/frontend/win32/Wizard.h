#pragma once
// The wizard: a modeless dialog that walks the pages, and afterwards the
// progress window through which the engine talks to the user.
#include <windows.h>

#include <optional>
#include <string>

#include "Appearance.h"
#include "Dialog.h"
#include "Globals.h"
#include "MainWindow.h"
#include "MsgStrings.h"
#include "ProgressBlocks.h"
#include "SharedDialog.h"
#include "UninstallModel.h"
#include "WizardPages.h"
#include "run/EngineUi.h"

namespace scrubber {

struct WizardContext {
  HINSTANCE instance;
  Globals& globals;
  const MsgStrings& strings;
  Appearance& appearance;
  const ControlLibrary& controls;
  MainWindow& main;
  HBITMAP bitmap;  // may be null
};

class Wizard final : public Dialog, public EngineUi {
 public:
  Wizard(const WizardContext& context, UninstallModel& model) : c_(context), model_(model) {}
  // Creates the dialog over the main window; false when it cannot be made.
  bool Create();
  void Destroy();

  // EngineUi
  void BeginProgress(std::string_view text) override;
  void ShowProgress(std::optional<std::string_view> text) override;
  void PumpMessages(std::uint32_t milliseconds) override;
  int AskRemoveShared(std::string_view text) override;
  int ShowServerRunning(std::string_view text, std::string_view caption) override;
  void FocusWizard() override;

 private:
  INT_PTR OnInitDialog() override;
  bool OnCommand(int id) override;
  bool OnPaint() override;

  WizardPage page() const { return static_cast<WizardPage>(c_.globals.currentPage); }
  void ShowPage();
  void FillList();
  void CollectChoices();
  void ConfirmCancel();
  void Display(int id, bool shown);
  void FlushProgress();
  void PaintProgress(HDC dc);
  static LRESULT CALLBACK BarProcedure(HWND bar, UINT message, WPARAM wParam, LPARAM lParam);

  WizardContext c_;
  UninstallModel& model_;
  std::size_t pageRowCount_ = 0;
  PixelRect progress_{};  // the bar's inner rectangle, in client coordinates
  std::optional<std::string> pendingText_;  // shown at the next pump
  bool progressDirty_ = false;
  WNDPROC barProcedure_ = nullptr;  // the bar control's own procedure
};

}  // namespace scrubber
