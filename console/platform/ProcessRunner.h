#pragma once
// Starting a program hidden, with its standard output captured in a file.
// No command interpreter takes part: the arguments reach the program as
// given, so nothing in them is ever interpreted by a shell. Several programs
// may run at once; each is waited for, or ended, through its own object.
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "Status.h"

namespace rosterly {

// A started program. Destroying the object ends the program if it still
// runs, so that nothing outlives the one who started it.
class RunningProgram {
 public:
  virtual ~RunningProgram() = default;
  // Waits at most `milliseconds` for the program to end: true once it has
  // ended, false while it still runs. Its exit code is not reported.
  virtual Result<bool> WaitForExit(std::uint32_t milliseconds) = 0;
  // Ends the program now, if it still runs, and returns once it is gone (its
  // output file is then closed).
  virtual void End() = 0;
};

class ProcessRunner {
 public:
  virtual ~ProcessRunner() = default;
  // `program` is a full path. `outputFile` is created or truncated and
  // receives the program's standard output; the program inherits no other
  // handle of this process.
  virtual Result<std::unique_ptr<RunningProgram>> Start(std::string_view program,
                                                        std::span<const std::string> arguments,
                                                        std::string_view outputFile) = 0;
};

}  // namespace rosterly
