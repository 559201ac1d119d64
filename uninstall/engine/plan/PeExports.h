#pragma once
// The exported names of a Windows image, read from its export directory
// through bounded reads, so that a dry run can tell which registration
// entry points a component has without loading it.
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"

namespace scrubber {

struct PeInfo {
  bool isImage = false;          // "MZ" and a "PE" header where it points
  std::uint16_t machine = 0;     // IMAGE_FILE_MACHINE_*
  bool exportsKnown = false;     // false: the export directory could not be read
  std::set<std::string> exports;
};

inline constexpr std::uint16_t kMachineI386 = 0x14c;
inline constexpr std::uint16_t kMachineAmd64 = 0x8664;

// What the file at `path` is; isImage false when it cannot be read or is no
// image. Reads at most a few hundred kilobytes whatever the file says.
PeInfo ReadPeInfo(FileSystem& fs, std::string_view path);

}  // namespace scrubber
