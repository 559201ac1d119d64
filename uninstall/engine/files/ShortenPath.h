#pragma once
// Display forms for progress lines: a long path keeps its drive and as much
// of its tail as fits, a long registry key is cut with an ellipsis.
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/LeadBytes.h"

namespace scrubber {

inline constexpr std::size_t kShownPathChars = 48;
inline constexpr std::size_t kShownTailChars = 32;

// "C:\Program Files\Vendor\Product\Data\Reports\file.dat" becomes
// "C:\...\Data\Reports\file.dat"; a path with no short enough tail is cut to
// 45 bytes and "..." (44 when a double-byte character would be split).
std::string ShortenPath(std::string_view path, const LeadBytes& lead);
// A key of more than 48 bytes becomes its first 45 (or 44, as above) and "...".
std::string ShortenKey(std::string_view key, const LeadBytes& lead);

}  // namespace scrubber
