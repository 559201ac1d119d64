#pragma once
// Writing a file so that a failure never costs the file that was there.
#include <string_view>

#include "platform/FileStore.h"

namespace rosterly {

// Writes `bytes` to `path` through a new file beside it that takes the place
// of `path` only once it is complete: a failed write leaves the old file as
// it was, and no other file behind.
Status WriteReplacing(FileStore& files, std::string_view path, std::string_view bytes);

}  // namespace rosterly
