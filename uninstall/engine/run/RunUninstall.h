#pragma once
// RunUninstall: walks the model in its fixed order and undoes every chosen
// item, one progress line per item, looking for Cancel between items.
#include <string_view>

#include "Globals.h"
#include "MsgStrings.h"
#include "UninstallModel.h"
#include "platform/Platform.h"
#include "run/EngineUi.h"

namespace scrubber {

struct EngineEnvironment {
  Platform& platform;
  Globals& globals;  // method, rollback, silent, ... in; rebootNeeded, selfDeletePending out
  const MsgStrings& strings;
  EngineUi& ui;
};

// Undoes what `model` lists, as globals.method and globals.rollback choose.
// The only changes to the model: file paths blanked when the file is kept,
// system files selected when their removal was accepted, the directories'
// trailing backslashes removed.
void RunUninstall(const EngineEnvironment& env, UninstallModel& model, std::string_view logPath);

// A run that deleted its log and then stopped, or left the rest to its
// removal helper, left the log's journal: what that run still had to do is
// done now. While the program file that was to go is `StillThere`, that is
// only marking it to go (globals.selfDeletePending): the journal stays for
// the helper, which calls this again once the file is `Gone` and then
// deletes the journal and tries the directories again. False, touching
// nothing, unless the log is missing and its journal is there.
enum class ProgramFile { StillThere, Gone };
[[nodiscard]] bool FinishStoppedRun(Platform& platform, Globals& globals, std::string_view logPath,
                                    ProgramFile program = ProgramFile::Gone);

}  // namespace scrubber
