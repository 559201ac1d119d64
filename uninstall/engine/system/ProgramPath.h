#pragma once
// The program part of a command line, made unambiguous for CreateProcess.
#include <string>
#include <string_view>

#include "platform/FileSystem.h"

namespace scrubber {

// When the longest leading part of the command line (ending at a blank or
// tab, or the whole line) that names an existing file holds a blank, that
// part is put in double quotes; a part without an extension also counts when
// it names a file with ".exe" added, as CreateProcess would find it. A line
// that is already quoted, or whose program holds no blank, comes back as it
// was.
std::string QuoteProgramPath(FileSystem& fs, std::string_view commandLine);

}  // namespace scrubber
