#pragma once
// What the probe needs to know about its surroundings.
#include <cstdint>
#include <string>

#include "Status.h"

namespace rosterly {

class Environment {
 public:
  virtual ~Environment() = default;
  virtual Result<std::string> TempDirectory() = 0;    // the directory TEMP names
  virtual Result<std::string> SystemDirectory() = 0;  // where ping.exe lives
  virtual std::uint32_t ProcessId() = 0;
};

}  // namespace rosterly
