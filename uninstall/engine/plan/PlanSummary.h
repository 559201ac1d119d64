#pragma once
// Turns the raw platform steps into what they mean where the raw sequence
// hides it: clearing attributes before a delete folds into the delete, a
// copy whose source is then deleted is a restored backup, SYSTEM.INI
// rewritten through a temporary file becomes the lines it comments out, a
// temporary file made and deleted again disappears, and the log's own cut
// or deletion is named as such.
#include <string_view>
#include <vector>

#include "PlanStep.h"

namespace scrubber {

// `logKey`: the comparable form of the log's path (RecordingFileSystem::KeyOf).
std::vector<PlanStep> SummarizePlan(const std::vector<PlanStep>& raw, std::string_view logKey);

}  // namespace scrubber
