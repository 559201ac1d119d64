#pragma once
// The "Settings" section of the settings file, read once at start-up.
#include <cstdint>
#include <string_view>

#include "MsgStrings.h"
#include "Shell.h"
#include "platform/Profile.h"

namespace scrubber {

// An integer entry as the profile integer query reads it: optional blanks
// and sign, then digits; `fallback` when the entry is missing, 0 when it
// does not start with a number.
std::int32_t ReadProfileInt(Profile& profile, std::string_view file, std::string_view section,
                            std::string_view key, std::int32_t fallback);

AppearanceSettings ReadAppearanceSettings(Profile& profile, std::string_view settingsFile, const MsgStrings& strings);

}  // namespace scrubber
