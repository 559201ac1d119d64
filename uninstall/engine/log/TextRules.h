#pragma once
// How the log's text is compared and read: keywords and paths with letter
// case ignored, decimal numbers as the C runtime reads them.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/LeadBytes.h"

namespace scrubber {

bool EqualsNoCase(std::string_view a, std::string_view b);
bool StartsWithNoCase(std::string_view text, std::string_view prefix);
bool EndsWithNoCase(std::string_view text, std::string_view suffix);

// Leading blanks, an optional sign, then digits up to the first other
// character; no digits give 0. Saturates instead of overflowing.
std::int32_t ParseDecimal(std::string_view text);

// Whether a value fits a field of `width` bytes with its terminator.
inline bool Fits(std::string_view value, std::size_t width) { return value.size() < width; }

// Position of the last backslash that is not the second byte of a
// double-byte character; npos when there is none.
std::size_t LastBackslash(std::string_view path, const LeadBytes& leadBytes);

}  // namespace scrubber
