#pragma once
// The uninstaller's run from its command line to its exit: start-up checks,
// log selection, wizard, engine, restart question, teardown, self-removal
// and restart, in that order. Every call to the system goes through the
// engine's platform or the shell, so the order is tested without Windows.
#include <string_view>

#include "Globals.h"
#include "Shell.h"
#include "StringTable.h"
#include "platform/LeadBytes.h"
#include "platform/Platform.h"

namespace scrubber {

// Returns the process exit code, which is always 0.
int RunScrubber(Platform& platform, Shell& shell, const StringTable& table, Globals& globals,
                std::string_view commandLine);

// A log path as given on the command line, made absolute against the
// current directory: the run changes the current directory before the
// engine reads the log again.
std::string AbsoluteLogPath(std::string_view path, std::string_view currentDirectory, const LeadBytes& lead);

}  // namespace scrubber
