#include "Form1.h"

#include "ComputerPipeline.h"
#include "ProbeAhead.h"
#include "Texts.h"

namespace rosterly {

Form1::Form1(Globals& globals, ConsoleServices services, MainView& view)
    : globals_(globals), services_(services), view_(view), status_(text::kReady), probesInFlight_(kProbesInFlight),
      workersInFlight_(kDirectoryWorkers) {}

void Form1::SetStatus(std::string_view text) {
  status_.assign(text);
  view_.StatusTextChanged();
}

void Form1::SetTimer(bool on) {
  timerEnabled_ = on;
  view_.TimerChanged();
}

void Form1::Insert(ResultRow row) {
  lvGroups.InsertAtTop(std::move(row));
  view_.GridChanged();
}

void Form1::ChooseAction(int n) {
  if (n < 0 || n > 2) return;
  optGroups_ = n;
  const bool needsName = n != 0;
  txtLocalGroup.enabled = needsName;
  txtLocalGroup.background = needsName ? FieldBackground::White : FieldBackground::MenuColour;
  view_.LocalGroupFieldChanged();
  view_.CommandsChanged();
}

void Form1::Execute() {
  // An action started while another waits for its computers begins with
  // the work already started done, as one after the other would have it.
  FinishStartedWork();
  if (optGroups_ == 0) {
    DisplayLocalGroups();
  } else if (optGroups_ == 1) {
    AddMemberstoGroups();
  } else {
    RemoveMembersFromGroup();
  }
}

void Form1::CancelRun() {
  cancelled_ = true;
  for (const Run& run : runs_) run.halt();
}

void Form1::ListsReplaced() {
  ++listsReplaced_;
  for (const Run& run : runs_) run.halt();
}

void Form1::FinishStartedWork() {
  // A copy: what runs from a wait below may start and end runs of its own.
  const std::vector<Run> runs = runs_;
  for (auto it = runs.rbegin(); it != runs.rend(); ++it) it->finish();
}

Result<bool> Form1::IsConnectible(std::string_view strHost, const LooseValue& intPings, const LooseValue& intTO) {
  return services_.probe.IsConnectible(strHost, intPings, intTO);
}

}  // namespace rosterly
