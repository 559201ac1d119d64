#pragma once
// Directory workers on Win32: threads in the multithreaded COM apartment,
// each with an ADSI access of its own, one piece of work at a time. A
// thread whose work has ended waits a little for the next piece before it
// ends, so that a run over many computers does not start and tear down a
// thread and an apartment for each of them. Nothing joins a thread: a bind
// that hangs on a remote computer never holds up the window or the end of
// the process.
#include <memory>

#include "platform/DirectoryWorkers.h"

namespace rosterly {

class Win32DirectoryWorkers : public DirectoryWorkers {
 public:
  Win32DirectoryWorkers();
  Status Start(std::function<void(Directory& directory)> work) override;

  struct Pool;

 private:
  std::shared_ptr<Pool> pool_;  // shared with the threads, which may outlive this object
};

}  // namespace rosterly
