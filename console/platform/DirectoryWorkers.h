#pragma once
// Threads for directory work beside the window's thread. Each piece of work
// runs alone on its thread, with a directory access made on that thread,
// so that no directory object ever crosses threads. Nothing here waits for a
// piece of work to end: a call that hangs on a remote computer holds only
// its own thread, which may outlive whoever started it. The work therefore
// owns everything it uses.
#include <functional>

#include "Directory.h"
#include "Status.h"

namespace rosterly {

class DirectoryWorkers {
 public:
  virtual ~DirectoryWorkers() = default;
  // Starts `work` on a thread that does nothing else meanwhile: a new one,
  // or one whose earlier work has ended. Fails when no thread can be had,
  // and `work` is then not run.
  virtual Status Start(std::function<void(Directory& directory)> work) = 0;
};

}  // namespace rosterly
