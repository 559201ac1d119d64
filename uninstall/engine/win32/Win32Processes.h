#pragma once
// Starting programs with CreateProcessA and waiting for them.
#include "platform/Processes.h"

namespace scrubber {

class Win32Processes : public Processes {
 public:
  std::unique_ptr<Process> Start(std::string_view commandLine) override;
};

}  // namespace scrubber
