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

// A run stopped after it deleted its log left the log's journal: what that
// run still had to do is done now (its directories tried again, and the
// program file marked to go). False, touching nothing, unless the log is
// missing and its journal is there.
[[nodiscard]] bool FinishStoppedRun(Platform& platform, Globals& globals, std::string_view logPath);

}  // namespace scrubber
