#pragma once
// A dry run's platform: reads see the real system plus every change recorded
// so far, writes are recorded instead of made, programs never start and
// libraries never load. The System interface is the real one (it only
// reads). Hand platform() to the engine; read the steps afterwards.
#include <cstdint>
#include <string_view>
#include <vector>

#include "PlanStep.h"
#include "RecordingFileSystem.h"
#include "RecordingOthers.h"
#include "RecordingProfile.h"
#include "RecordingRegistry.h"
#include "platform/Platform.h"

namespace scrubber {

struct PlanLimits {
  std::size_t maxSteps = 1000000;
  std::uint64_t storedBytes = RecordingFileSystem::kDefaultBudget;
};

class RecordingPlatform {
 public:
  explicit RecordingPlatform(const Platform& real, PlanLimits limits = {});
  RecordingPlatform(const RecordingPlatform&) = delete;
  RecordingPlatform& operator=(const RecordingPlatform&) = delete;

  Platform& platform() { return platform_; }
  RecordingFileSystem& files() { return files_; }

  // Every call that would have changed something, in order.
  const std::vector<PlanStep>& Steps() const { return log_.Steps(); }
  // Steps left out once the limit was reached.
  std::size_t DroppedSteps() const { return log_.Dropped(); }

 private:
  PlanLog log_;
  RecordingFileSystem files_;
  RecordingProfile profile_;
  RecordingRegistry registry_;
  RecordingServices services_;
  RecordingProcesses processes_;
  RecordingLibraries libraries_;
  RecordingDde dde_;
  Platform platform_;
};

}  // namespace scrubber
