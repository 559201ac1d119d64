#pragma once
// A plan printed two ways: one JSON object per line for programs, and one
// aligned line per step for people.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "PlanStep.h"

namespace scrubber {

// Converts the steps' 8-bit text to UTF-8 for JSON; identity when empty.
using TextToUtf8 = std::function<std::string(std::string_view)>;

// {"op": "delete-file", "target": "C:\\APP\\A.DLL"} and further fields.
std::string PlanStepJson(const PlanStep& step, const TextToUtf8& toUtf8 = {});
std::string PlanToJsonLines(const std::vector<PlanStep>& steps, const TextToUtf8& toUtf8 = {});

// "delete file      C:\APP\A.DLL".
std::string PlanStepText(const PlanStep& step);
std::string PlanToText(const std::vector<PlanStep>& steps);

}  // namespace scrubber
