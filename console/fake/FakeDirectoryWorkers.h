#pragma once
// Directory workers for tests, without threads: started work runs at once
// on the caller's thread, or, held, waits until the test runs it, in any
// order the test picks, so that computers can finish out of turn.
#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

#include "platform/DirectoryWorkers.h"

namespace rosterly {

class FakeDirectoryWorkers : public DirectoryWorkers {
 public:
  explicit FakeDirectoryWorkers(Directory& directory) : directory_(directory) {}

  bool hold = false;              // keep started work until RunWaiting
  std::optional<Status> failure;  // set: every Start fails with it
  std::size_t started = 0;
  std::size_t mostWaiting = 0;    // the most pieces of work held at once

  Status Start(std::function<void(Directory&)> work) override {
    if (failure) return *failure;
    ++started;
    if (!hold) {
      work(directory_);
      return Status::Ok();
    }
    waiting_.push_back(std::move(work));
    if (waiting_.size() > mostWaiting) mostWaiting = waiting_.size();
    return Status::Ok();
  }

  std::size_t Waiting() const { return waiting_.size(); }
  // Runs the held work at `index` (0 is the oldest).
  void RunWaiting(std::size_t index) {
    std::function<void(Directory&)> work = std::move(waiting_.at(index));
    waiting_.erase(waiting_.begin() + static_cast<std::ptrdiff_t>(index));
    work(directory_);
  }

 private:
  Directory& directory_;
  std::vector<std::function<void(Directory&)>> waiting_;
};

}  // namespace rosterly
