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
}

void Form1::Execute() {
  if (optGroups_ == 0) {
    DisplayLocalGroups();
  } else if (optGroups_ == 1) {
    AddMemberstoGroups();
  } else {
    RemoveMembersFromGroup();
  }
}

void Form1::CancelRun() { cancelled_ = true; }

Result<bool> Form1::IsConnectible(std::string_view strHost, const LooseValue& intPings, const LooseValue& intTO) {
  return services_.probe.IsConnectible(strHost, intPings, intTO);
}

}  // namespace rosterly
