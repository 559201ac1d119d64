#pragma once
// Directory workers on Win32: a thread per piece of work, in the
// multithreaded COM apartment, with an ADSI directory of its own. The
// thread's handle is closed at once; nothing joins it, so a bind that hangs
// on a remote computer never holds up the window or the end of the process.
#include "platform/DirectoryWorkers.h"

namespace rosterly {

class Win32DirectoryWorkers : public DirectoryWorkers {
 public:
  Status Start(std::function<void(Directory& directory)> work) override;
};

}  // namespace rosterly
