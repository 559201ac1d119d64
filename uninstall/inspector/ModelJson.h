#pragma once
// The whole UninstallModel as JSON: what an uninstall would touch.
#include <string>

#include "JsonWriter.h"
#include "UninstallModel.h"

namespace scrubber {

std::string ModelToJson(const UninstallModel& model, const Utf8Encoder& toUtf8);

}  // namespace scrubber
