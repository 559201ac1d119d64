#pragma once
// Failure on demand for the fakes: every call of a fake has a name in its
// table, and a test can make the n-th next call of that name fail with a
// chosen error. Tests can also walk Calls() to fail each call in turn.
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/SysError.h"

namespace scrubber {

// Thrown by a fake at the change where a test ends the process: what came
// before stays as it was written, nothing after happens.
struct ProcessEnded {};

// Counts the calls that change something, across every fake of a platform,
// and ends the process at a chosen one.
class ChangeCounter {
 public:
  // The `change`-th change (1-based) ends the process before it is made.
  void EndAt(unsigned change) { endAt_ = change; }
  void Off() { endAt_ = 0; }
  unsigned count() const { return count_; }
  void Reset() {
    count_ = 0;
    lastMade_.clear();
    endedAt_.clear();
  }
  // Whether the next change is the one that ends the process: a write can
  // then leave part of its bytes, as a cut one does.
  bool NextEnds() const { return endAt_ != 0 && count_ + 1 == endAt_; }
  // Counts a change; throws ProcessEnded at the chosen one.
  void Count(std::string_view call);
  // The last change made, and the one the process ended at.
  const std::string& lastMade() const { return lastMade_; }
  const std::string& endedAt() const { return endedAt_; }
  // The call names (of any fake) that write.
  static bool IsChange(std::string_view call);

 private:
  unsigned count_ = 0;
  unsigned endAt_ = 0;
  std::string lastMade_, endedAt_;
};

class FaultTable {
 public:
  static constexpr unsigned kForever = std::numeric_limits<unsigned>::max();

  explicit FaultTable(std::vector<std::string> calls);

  // The call `name` succeeds `skip` more times, then fails `times` times with
  // `error`. False when the fake has no call of that name.
  bool FailCall(std::string_view name, SysError error = SysError::Other, unsigned skip = 0, unsigned times = 1);
  void Clear();

  const std::vector<std::string>& Calls() const { return names_; }
  // How often the call was made so far (failed calls included).
  unsigned CountOf(std::string_view name) const;

  // Called by the fake at the start of each call: the error to fail with.
  // A call that changes something is counted first, and may end the process.
  std::optional<SysError> Check(std::string_view name);

  void CountChangesIn(ChangeCounter* changes) { changes_ = changes; }
  // Whether this call of `name` is the one that ends the process.
  bool EndsHere(std::string_view name) const {
    return changes_ && changes_->NextEnds() && ChangeCounter::IsChange(name);
  }

 private:
  struct Entry {
    unsigned calls = 0;
    unsigned skip = 0;
    unsigned times = 0;
    SysError error = SysError::None;
  };
  int IndexOf(std::string_view name) const;

  std::vector<std::string> names_;
  std::vector<Entry> entries_;
  ChangeCounter* changes_ = nullptr;
};

}  // namespace scrubber
