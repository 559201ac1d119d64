#pragma once
// The main window's logic: the target lists, the local group name field, the
// action choice, the status text, the timer-driven fill, loading a computer
// list, the three actions and the grid commands. The window calls these on its
// own thread and mirrors the state through MainView.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "Globals.h"
#include "MainView.h"
#include "Probe.h"
#include "ResultGrid.h"
#include "SortedList.h"
#include "platform/Dialogs.h"
#include "platform/Directory.h"
#include "platform/DirectoryWorkers.h"
#include "platform/FileStore.h"

namespace rosterly {

// Timer1's interval: the lists are filled this long after the timer is enabled.
inline constexpr unsigned kFillDelayMs = 500;

enum class FieldBackground { MenuColour, White };  // system colour 4, or RGB(255, 255, 255)

struct LocalGroupField {
  std::string text;
  bool enabled = false;
  FieldBackground background = FieldBackground::MenuColour;
};

struct ConsoleServices {
  Directory& directory;
  FileStore& files;
  MessageBoxes& messages;
  FileDialogs& dialogs;
  Probe& probe;
  DirectoryWorkers& workers;
};

class Form1 {
 public:
  Form1(Globals& globals, ConsoleServices services, MainView& view);

  // State the window shows and edits. After the administrator changes a
  // selection or the local group name, the window writes it here.
  SortedList lstComps;
  SortedList lstGroups;
  LocalGroupField txtLocalGroup;
  ResultGrid lvGroups;
  int optGroups() const { return optGroups_; }
  const std::string& StatusText() const { return status_; }
  bool TimerEnabled() const { return timerEnabled_; }

  // Events.
  void OnTimerTick();          // Timer1
  void ChooseAction(int n);    // optGroups(n) clicked
  void Execute();              // Command1
  void LoadComputers();        // mnuLoad
  void RefreshLists();         // mnuRefresh
  void SaveResults();          // mnuResults
  void ClearResults();         // mnuClearResults
  void ColumnClick(int header);  // lvGroups header, counting from 1
  void PreviewCommand();         // mnuPreview: the add or remove chosen, changing nothing
  void UndoLastRun();            // mnuUndo: takes back what the last add or remove changed
  bool PreviewOffered() const { return optGroups_ != 0; }
  bool UndoOffered() const { return !lastChange_.computers.empty(); }
  // The window is going while an action may still run below one of its
  // message dispatches: the action stops at its next computer, its workers
  // make no further change, and nothing else is contacted.
  void CancelRun();
  // How many pings the add and remove actions run at once (1: one after the
  // other).
  void SetProbesInFlight(std::size_t n) { probesInFlight_ = n; }
  // How many computers' directory work the add and remove actions do at
  // once (1: one after the other).
  void SetWorkersInFlight(std::size_t n) { workersInFlight_ = n; }

  // The actions, also callable on their own.
  void DisplayLocalGroups();
  void AddMemberstoGroups();
  void RemoveMembersFromGroup();
  Result<bool> IsConnectible(std::string_view strHost, const LooseValue& intPings, const LooseValue& intTO);

  // What tells the add action from the remove action, a preview and an undo.
  struct MembershipChange;
  struct Targets;
  // The memberships the last add or remove run changed, computers in list
  // order, each with the groups whose change was made.
  struct LastChange {
    bool added = false;
    std::string localGroup;
    std::string domain;
    std::vector<std::string> computers;
    std::vector<std::vector<std::string>> groups;
  };

 private:
  void SetStatus(std::string_view text);
  void SetTimer(bool on);
  void Insert(ResultRow row);
  void ReportDialogFailure(const Status& failure);
  void FillList(DirObject& domain, std::string_view objectClass, SortedList& list);
  Status ListSelectedComputers();
  Status ListComputer(const std::string& computer);
  void ChangeSelected(const MembershipChange& how, bool keepChanges);
  void ChangeMembership(const MembershipChange& how, const Targets& targets);
  // The lists were replaced or are about to be: a running add or remove
  // starts nothing more, and its workers make no further change.
  void ListsReplaced();
  // While an add or remove runs: how to finish the work it has started, and
  // how to tell that work to make no further change.
  class RunningWork {
   public:
    RunningWork(Form1& form, std::function<void()> finish, std::function<void()> halt) : form_(form) {
      form_.runs_.push_back({std::move(finish), std::move(halt)});
    }
    ~RunningWork() { form_.runs_.pop_back(); }
    RunningWork(const RunningWork&) = delete;
    RunningWork& operator=(const RunningWork&) = delete;

   private:
    Form1& form_;
  };
  // Lets every add or remove below the current message dispatch finish what
  // it has started.
  void FinishStartedWork();

  Globals& globals_;
  ConsoleServices services_;
  MainView& view_;
  int optGroups_ = 0;
  std::string status_;
  bool timerEnabled_ = true;  // the first fill runs 500 ms after the window opens
  bool filling_ = false;
  bool cancelled_ = false;
  std::size_t probesInFlight_;
  std::size_t workersInFlight_;
  unsigned long long listsReplaced_ = 0;
  struct Run {
    std::function<void()> finish, halt;
  };
  std::vector<Run> runs_;  // below the current message dispatch, innermost last
  LastChange lastChange_;
};

}  // namespace rosterly
