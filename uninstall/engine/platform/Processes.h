#pragma once
// Starting a program and waiting for it (CreateProcess, WaitForSingleObject).
#include <memory>
#include <string_view>

#include "SysError.h"

namespace scrubber {

// A started process; its handles are closed when destroyed.
class Process {
 public:
  virtual ~Process() = default;
  // Waits without limit for the process to end.
  virtual Status Wait() = 0;
};

class Processes {
 public:
  virtual ~Processes() = default;
  // Starts the command line as it stands: no application name, no inherited
  // handles, default flags, environment and directory, start-up information
  // all zero but its size. nullptr when it cannot be started.
  virtual std::unique_ptr<Process> Start(std::string_view commandLine) = 0;
};

}  // namespace scrubber
