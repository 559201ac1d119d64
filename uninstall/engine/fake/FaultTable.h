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
  std::optional<SysError> Check(std::string_view name);

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
};

}  // namespace scrubber
