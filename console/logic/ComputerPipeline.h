#pragma once
// The computers of an add or remove run: their directory work done side by
// side on worker threads, at most `inFlight` pieces at once, and their
// outcomes handed back in the order the computers were entered, each as soon
// as it and every computer before it are finished. A computer that hangs
// holds back the rows after it, never the work after it.
//
// Only the window's thread calls this class. A worker sees nothing but its
// own piece of work, the slot its outcomes go to and the run's stop flag, so
// that the window and this object may be gone before it ends.
#include <atomic>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/DirectoryWorkers.h"

namespace rosterly {

// What a remote computer's directory service costs is waiting, not work:
// as many at once as administrators' own scripts fan out to, and as the
// probes run ahead, so that a run over thousands of computers takes minutes
// instead of hours while a thread each stays light on the machine.
inline constexpr std::size_t kDirectoryWorkers = 32;

// One row's worth of a computer's outcome: the "Member" and "Action" cells.
struct Outcome {
  std::string member;
  std::string action;
  bool changed = false;  // the change itself was made
};

struct ComputerOutcomes {
  std::string computer;
  std::vector<Outcome> outcomes;
};

class ComputerPipeline {
 public:
  // One computer's work, run on a worker thread with that thread's own
  // directory access. It looks at `stopped` before each change it would
  // make, and once that reads true it makes none and gives the outcomes of
  // the changes it did make.
  using Work = std::function<std::vector<Outcome>(Directory& directory, const std::atomic<bool>& stopped)>;

  // `wake` is called by a worker, on its own thread, when its work is done;
  // it must be safe to call from any thread at any time, also after the
  // pipeline is gone. Work that no worker can be started for is done at
  // once on the caller's thread, with `here`.
  ComputerPipeline(DirectoryWorkers& workers, Directory& here, std::size_t inFlight, std::function<void()> wake);
  // Stops: work still running finishes in the background, unseen.
  ~ComputerPipeline();
  ComputerPipeline(const ComputerPipeline&) = delete;
  ComputerPipeline& operator=(const ComputerPipeline&) = delete;

  // `inFlight` pieces of work are running: wait for one before entering more.
  bool Full() const;
  // Every computer entered has been handed back.
  bool Drained() const { return slots_.empty(); }
  // No work is running.
  bool Idle() const;

  // A computer whose outcomes are known without directory work.
  void Enter(std::string computer, std::vector<Outcome> known);
  // A computer whose outcomes `work` finds.
  void Enter(std::string computer, Work work);

  using Take = std::function<void(ComputerOutcomes&)>;
  // Hands the finished computers at the front to `take`, in order.
  void TakeFinished(const Take& take);
  // Tells the work still running to make no further change; called the
  // moment the run is stopped, before anything is taken.
  void Halt() { stopped_->store(true); }
  // Starts nothing more and hands every finished computer to `take`, in
  // order; computers still at work are dropped.
  void Stop(const Take& take);

 private:
  // A worker's slot, shared with it.
  struct Pending {
    std::atomic<bool> finished{false};
    std::vector<Outcome> outcomes;
  };
  struct Slot {
    ComputerOutcomes known;
    std::shared_ptr<Pending> pending;  // null when the outcomes are known
    bool Finished() const { return !pending || pending->finished.load(std::memory_order_acquire); }
  };
  static void Collect(Slot& slot);

  DirectoryWorkers& workers_;
  Directory& here_;
  std::size_t inFlight_;
  std::function<void()> wake_;
  std::shared_ptr<std::atomic<bool>> stopped_ = std::make_shared<std::atomic<bool>>(false);
  std::deque<Slot> slots_;  // in the order entered, up to the first not yet handed back
};

}  // namespace rosterly
