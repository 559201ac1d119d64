#pragma once
#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "FormWindow.h"
#include "Handles.h"
#include "logic/Form1.h"
#include "logic/MainView.h"
#include "rosterly_ids.h"
#include "Win32Dialogs.h"

namespace rosterly {

class App;

// Form1: the target lists, the action choice and the results grid. Every
// decision is Form1's (the logic); this window forwards events to it and
// mirrors what it reports through MainView.
class MainWindow : public FormWindow, public MainView {
 public:
  static constexpr char kClassName[] = "RosterlyMain";

  explicit MainWindow(App& app);
  static bool Register(HINSTANCE instance);
  bool Create();
  bool PreTranslate(MSG& msg);

  // MainView.
  void StatusTextChanged() override;
  void ListChanged(ListId list) override;
  void LocalGroupFieldChanged() override;
  void GridChanged() override;
  void TimerChanged() override;
  void CommandsChanged() override;
  void SetBusyPointer(bool busy) override;
  void ProcessPendingEvents() override;
  void WaitForEvents() override;
  std::function<void()> Waker() override;

 private:
  LRESULT OnCreate() override;
  LRESULT OnCommand(WORD id, WORD code) override;
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnDestroy() override;
  void CreateControls();
  void CreateGrid();
  void OnMenu(WORD id);
  LRESULT OnNotify(NMHDR& header);
  void OnGetDispInfo(NMLVDISPINFOA& info);
  LRESULT OnControlColour(HDC dc, HWND control, UINT message);
  bool OnSetCursor(WORD hitTest);
  void ReadSelection(ListId list);
  void UpdateGrid();
  static constexpr UINT_PTR kGridTimer = IDT_MAIN_TIMER1 + 1;
  static constexpr UINT kGridRefreshMs = 200;
  static constexpr DWORD kWakeCheckMs = 250;

  Win32MessageBoxes messages_;
  Win32FileDialogs dialogs_;
  std::unique_ptr<Form1> logic_;
  HWND lstComps_ = nullptr, lstGroups_ = nullptr, txtLocalGroup_ = nullptr;
  HWND lvGroups_ = nullptr, sbar_ = nullptr;
  AutoDeleteFont font_;
  AutoDeleteBrush white_;
  bool busy_ = false;
  bool gridUpdatePending_ = false;
};

}  // namespace rosterly
