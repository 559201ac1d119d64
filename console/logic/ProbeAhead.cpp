#include "ProbeAhead.h"

#include <algorithm>

namespace rosterly {

namespace {
constexpr int kPings = 1;
constexpr int kTimeoutMs = 750;
}  // namespace

void ProbeAhead::Forget(const SortedList& list) {
  std::erase_if(early_, [&](const Early& e) { return e.index >= list.Count() || list.Text(e.index) != e.host; });
}

void ProbeAhead::StartAhead(const SortedList& list, std::size_t from) {
  // The entry being answered counts as one ping in flight.
  next_ = std::max(next_, from);
  while (early_.size() + 1 < inFlight_ && next_ < list.Count()) {
    const std::size_t i = next_++;
    if (!list.Selected(i)) continue;
    const std::string& host = list.Text(i);
    early_.push_back(Early{i, host, probe_.Start(host, kPings, kTimeoutMs)});
  }
}

Result<bool> ProbeAhead::AnswerFor(const SortedList& list, std::size_t index) {
  // Entries the walk has passed (unselected meanwhile) get no answer.
  while (!early_.empty() && early_.front().index < index) early_.pop_front();
  const std::string host = list.Text(index);
  Result<std::unique_ptr<PendingProbe>> mine = std::unique_ptr<PendingProbe>();
  if (!early_.empty() && early_.front().index == index && early_.front().host == host) {
    mine = std::move(early_.front().probe);
    early_.pop_front();
  } else {
    if (!early_.empty() && early_.front().index == index) early_.pop_front();  // started for another text
    mine = probe_.Start(host, kPings, kTimeoutMs);
  }
  StartAhead(list, index + 1);
  if (!mine.ok()) return mine.status();
  return mine.value()->Answer();
}

}  // namespace rosterly
