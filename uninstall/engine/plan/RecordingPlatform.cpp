#include "RecordingPlatform.h"

namespace scrubber {

RecordingPlatform::RecordingPlatform(const Platform& real, PlanLimits limits)
    : log_(limits.maxSteps),
      files_(real.fs, log_, limits.storedBytes),
      profile_(real.profile, files_, log_),
      registry_(real.registry, log_),
      services_(real.services, log_),
      processes_(log_),
      libraries_(files_, log_),
      dde_(real.dde, log_),
      platform_{files_, profile_, registry_, real.system, services_, processes_, libraries_, dde_} {}

}  // namespace scrubber
