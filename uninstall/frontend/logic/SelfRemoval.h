#pragma once
// The portable side of removing the uninstaller's own file: the temporary
// copy's name, the removal helper's command line and how the helper reads
// it, deletion at the next restart, and the helper's clean-up.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "FileOperations.h"
#include "platform/FileSystem.h"
#include "platform/LeadBytes.h"

namespace scrubber {

// "...\KVR1A2B.TMP" from the temporary-name function becomes "...\KVR1A2B.EXE"
// (its last three characters replaced); empty for a name too short for that.
std::string TempCopyPathFrom(std::string_view tempName);

// The command that starts the temporary copy as removal helper:
// "<copy>" /z "<program file>" "<directory>" "<log>". The paths are quoted so
// that blanks in them (where the file system keeps no short names) survive.
std::string RemovalHelperCommand(std::string_view tempCopyPath, std::string_view programFile,
                                 std::string_view uninstallDir, std::string_view logPath);

struct RemovalArgs {
  std::string programFile;
  std::string directory;  // may be empty
  std::string logPath;    // the log the run undid; may be empty
};
// Reads what RemovalHelperCommand wrote after "/z"; an unquoted remainder
// is split at its first blank.
RemovalArgs SplitRemovalArgs(std::string_view remainder);

// The file goes at the next restart: a delayed deletion on the NT family,
// a "NUL=" line in the Windows directory's WININIT.INI elsewhere (the file
// created with a "[rename]" header when it does not exist; one that exists
// but cannot be read is left alone rather than written anew). Silent.
void DeleteAtRestart(FileSystem& fs, std::int32_t platformKind, std::string_view path);

// The removal helper's work once the first run has ended: deletes the
// program file (unless the name ends with a backslash), does `afterProgram`
// (what the run left to do once its file was gone), then removes its
// directory and the given directory where they hold no files any more.
void RemoveFirstRun(FileOperations& files, const RemovalArgs& args, const LeadBytes& leadBytes,
                    const std::function<void()>& afterProgram = {});

}  // namespace scrubber
