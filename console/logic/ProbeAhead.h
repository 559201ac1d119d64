#pragma once
// Probes started ahead of a walk over lstComps: while the walk handles one
// entry, the pings of the next selected entries already run, each in its
// own process, so that computers that do not answer wait side by side
// instead of one after the other. No threads: the pings are started and
// collected on the walk's own thread, each when the walk reaches its entry.
//
// At most `inFlight` pings run at once (1: one after the other, as a plain
// walk would). An answer is used only for the entry text it was started
// with: an entry whose text changed meanwhile is probed again, and pings of
// entries that changed or went away are ended at once. Pings not collected
// when the walk ends are ended; none outlives it.
#include <cstddef>
#include <deque>
#include <memory>
#include <string>

#include "Probe.h"
#include "SortedList.h"

namespace rosterly {

// About what administrators' own scripts fan out to: enough that a list of
// mostly offline computers costs a few ping waits instead of one per entry,
// few enough that the processes stay light on the machine and a run's start
// stays short.
inline constexpr std::size_t kProbesInFlight = 32;

class ProbeAhead {
 public:
  ProbeAhead(Probe& probe, std::size_t inFlight) : probe_(probe), inFlight_(inFlight > 0 ? inFlight : 1) {}

  // The probe's answer for entry `index` of `list` (1 request, 750 ms), with
  // the pings of the selected entries after it started first.
  Result<bool> AnswerFor(const SortedList& list, std::size_t index);
  // Ends the pings of entries whose text is no longer the one they were
  // started for (a list refilled or cleared meanwhile).
  void Forget(const SortedList& list);

 private:
  struct Early {
    std::size_t index;
    std::string host;
    Result<std::unique_ptr<PendingProbe>> probe;
  };
  void StartAhead(const SortedList& list, std::size_t from);

  Probe& probe_;
  std::size_t inFlight_;
  std::deque<Early> early_;  // in list order
  std::size_t next_ = 0;     // entries before it were considered already
};

}  // namespace rosterly
