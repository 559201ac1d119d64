#pragma once
// How the log's text is read: keywords and paths compare with letter case
// ignored (the path text rules), numbers as the C runtime reads them.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "PathText.h"

namespace scrubber {

// Leading blanks, an optional sign, then digits up to the first other
// character; no digits give 0. Saturates instead of overflowing.
std::int32_t ParseDecimal(std::string_view text);

// `text` with its letters in upper case: a key under which spellings that
// differ only in letter case meet.
std::string UpperKey(std::string_view text);

// Whether a value fits a field of `width` bytes with its terminator.
inline bool Fits(std::string_view value, std::size_t width) { return value.size() < width; }

}  // namespace scrubber
