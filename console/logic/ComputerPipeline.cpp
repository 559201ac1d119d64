#include "ComputerPipeline.h"

#include <algorithm>
#include <utility>

namespace rosterly {

ComputerPipeline::ComputerPipeline(DirectoryWorkers& workers, Directory& here, std::size_t inFlight,
                                   std::function<void()> wake)
    : workers_(workers), here_(here), inFlight_(std::max<std::size_t>(inFlight, 1)), wake_(std::move(wake)) {}

ComputerPipeline::~ComputerPipeline() { stopped_->store(true); }

bool ComputerPipeline::Idle() const {
  return std::all_of(slots_.begin(), slots_.end(), [](const Slot& s) { return s.Finished(); });
}

bool ComputerPipeline::Full() const {
  const auto running = std::count_if(slots_.begin(), slots_.end(), [](const Slot& s) { return !s.Finished(); });
  return static_cast<std::size_t>(running) >= inFlight_;
}

void ComputerPipeline::Enter(std::string computer, std::vector<Outcome> known) {
  slots_.push_back(Slot{ComputerOutcomes{std::move(computer), std::move(known)}, nullptr});
}

void ComputerPipeline::Enter(std::string computer, Work work) {
  auto pending = std::make_shared<Pending>();
  Status started = workers_.Start([pending, stopped = stopped_, wake = wake_, work](Directory& directory) {
    try {
      pending->outcomes = work(directory, *stopped);
    } catch (...) {
      // Out of memory on a worker: the computer gets no rows rather than
      // taking the process down.
      pending->outcomes.clear();
    }
    pending->finished.store(true, std::memory_order_release);
    if (wake) wake();
  });
  if (started.ok()) {
    slots_.push_back(Slot{ComputerOutcomes{std::move(computer), {}}, std::move(pending)});
    return;
  }
  // No thread to be had: the work is done here, as one after the other.
  Enter(std::move(computer), work(here_, *stopped_));
}

void ComputerPipeline::Collect(Slot& slot) {
  if (slot.pending) slot.known.outcomes = std::move(slot.pending->outcomes);
}

void ComputerPipeline::TakeFinished(const Take& take) {
  while (!slots_.empty() && slots_.front().Finished()) {
    // Off the queue before `take` runs: it may let window events through,
    // and a command run from there may take what follows.
    Slot slot = std::move(slots_.front());
    slots_.pop_front();
    Collect(slot);
    take(slot.known);
  }
}

void ComputerPipeline::Stop(const Take& take) {
  Halt();
  std::deque<Slot> slots = std::move(slots_);
  slots_.clear();
  for (Slot& slot : slots) {
    if (!slot.Finished()) continue;
    Collect(slot);
    take(slot.known);
  }
}

}  // namespace rosterly
