#pragma once
// The uninstaller's process-wide run state, owned in one place. Every flag is
// a 32-bit integer with 0 meaning off, as the run's parts exchange them.
#include <cstdint>
#include <string>

namespace scrubber {

enum Method : std::int32_t { kAutomatic = 1000, kCustom = 1001 };

struct Globals {
  // Set once at start-up from the version query.
  std::int32_t platformKind = 1;  // 1 the NT family, 2 any other platform
  std::int32_t isVersion4OrLater = 1;

  std::int32_t method = 0;
  std::int32_t rollback = 0;
  std::int32_t cancelRequested = 0;
  std::int32_t uninstallConfirmed = 0;
  std::int32_t silent = 0;
  std::int32_t noToAll = 0;
  std::int32_t rebootNeeded = 0;
  std::int32_t selfDeletePending = 0;
  std::int32_t progressStarted = 0;  // the wizard paints its bar only while set
  std::int32_t progressDone = 0;
  std::int32_t progressTotal = 0;

  // The uninstaller's own program file in long-name form; DeleteOneFile
  // compares against it to notice that it is deleting itself.
  std::string ownPath;

  // The front end's run: how it was started and what it works on.
  std::int32_t autoMode = 0;           // /A or /S
  std::int32_t removalHelperMode = 0;  // started as removal helper (/z)
  std::int32_t withTempCopy = 0;       // a normal run: the program copied itself aside
  std::uint8_t currentPage = 0;        // the wizard page shown
  std::string settingsFile;            // the own path with "INI" for its last three characters
  std::string logPath;
  std::string captionArg;
  std::string tempCopyPath;
};

}  // namespace scrubber
