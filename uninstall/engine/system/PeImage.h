#pragma once
// Whether a file is a Win32 image: "MZ" at its start and "PE" at the offset
// that the 4-byte little-endian value at offset 60 gives.
#include <string_view>

#include "platform/FileSystem.h"

namespace scrubber {

inline constexpr std::uint64_t kPeOffsetField = 60;

bool IsPeImage(FileSystem& fs, std::string_view path);

}  // namespace scrubber
