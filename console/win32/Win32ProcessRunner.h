#pragma once
#include <string>

#include "platform/ProcessRunner.h"

namespace rosterly {

// CreateProcessA with no window shown and standard output sent to a file;
// the output file is the one handle the program inherits.
class Win32ProcessRunner : public ProcessRunner {
 public:
  Result<std::unique_ptr<RunningProgram>> Start(std::string_view program, std::span<const std::string> arguments,
                                                std::string_view outputFile) override;
};

// The command line the C run-time of the started program splits back into
// exactly these arguments (program name first).
std::string BuildCommandLine(std::string_view program, std::span<const std::string> arguments);

}  // namespace rosterly
