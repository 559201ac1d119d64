#pragma once
// What the main window does for its logic: it mirrors the state the logic
// changes and lets pending window events run. The logic owns the state; the
// window reads it back through Form1's accessors when told.
#include <functional>

namespace rosterly {

enum class ListId { Computers, Groups };

class MainView {
 public:
  virtual ~MainView() = default;
  virtual void StatusTextChanged() = 0;
  virtual void ListChanged(ListId list) = 0;
  virtual void LocalGroupFieldChanged() = 0;
  virtual void GridChanged() = 0;
  virtual void TimerChanged() = 0;  // Timer1 switched on or off
  virtual void CommandsChanged() = 0;  // PreviewOffered or UndoOffered may read otherwise
  virtual void SetBusyPointer(bool busy) = 0;
  // Dispatches the events waiting in the window's queue, once; commands of
  // the window may run from here.
  virtual void ProcessPendingEvents() = 0;
  // Waits until a window event arrives or a waker returned below is called,
  // then dispatches the waiting events once.
  virtual void WaitForEvents() = 0;
  // A function that ends a WaitForEvents; callable from any thread, also
  // after the window is gone (it then does nothing).
  virtual std::function<void()> Waker() = 0;
};

}  // namespace rosterly
