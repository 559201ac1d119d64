#pragma once
// The uninstaller's command line: switches, the log path and the caption.
// The platform hands over one string (everything after the program name);
// nothing here touches the system.
#include <cstdint>
#include <string>
#include <string_view>

namespace scrubber {

struct CommandLine {
  std::int32_t silent = 0;             // /S
  std::int32_t autoMode = 0;           // /A or /S
  std::int32_t rollback = 0;           // /R
  std::int32_t removalHelperMode = 0;  // lower-case /z
  // The log path as written (quotes removed, not yet in short form). In
  // removal helper mode: the whole remainder, the helper's two paths.
  std::string logPath;
  std::string captionArg;  // empty when none was given
};

// A command line beginning with "/Z" or "/z": the run makes no temporary copy.
bool SkipsTempCopy(std::string_view commandLine);

CommandLine ParseCommandLine(std::string_view commandLine);

}  // namespace scrubber
