#pragma once
// A dry run of the whole uninstall: the real engine over the recording
// platform, as a silent run would go. Silent means no question is asked, so
// a shared file whose count reaches zero is kept (its count value goes).
#include <cstddef>
#include <string_view>
#include <vector>

#include "MsgStrings.h"
#include "PlanStep.h"
#include "UninstallModel.h"
#include "platform/Platform.h"

namespace scrubber {

struct PlanOptions {
  bool custom = false;    // Custom with every item ticked; else Automatic
  bool rollback = false;  // only the last installation, backups put back
  bool raw = false;       // the platform steps as they came, no summary
};

struct PlanResult {
  std::vector<PlanStep> steps;  // in engine order; a restart last when one is needed
  std::size_t droppedSteps = 0;
};

// `model` is changed as a real run changes it (see RunUninstall); the
// system behind `real` is only read.
PlanResult PlanUninstall(const Platform& real, const MsgStrings& strings, UninstallModel& model,
                         std::string_view logPath, const PlanOptions& options);

// Ticks every item of the model, as a Custom run that keeps nothing.
void SelectEverything(UninstallModel& model);

}  // namespace scrubber
