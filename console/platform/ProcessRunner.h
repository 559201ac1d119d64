#pragma once
// Starting a program hidden and waiting for it, with its standard output
// captured in a file. No command interpreter takes part: the arguments reach
// the program as given, so nothing in them is ever interpreted by a shell.
#include <span>
#include <string>
#include <string_view>

#include "Status.h"

namespace rosterly {

class ProcessRunner {
 public:
  virtual ~ProcessRunner() = default;
  // `program` is a full path. `outputFile` is created or truncated and receives
  // the program's standard output. Returns once the program has ended; its
  // exit code is not reported.
  virtual Status RunHidden(std::string_view program, std::span<const std::string> arguments,
                           std::string_view outputFile) = 0;
};

}  // namespace rosterly
