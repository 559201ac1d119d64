#include "PlanUninstall.h"

#include "PlanSummary.h"
#include "RecordingPlatform.h"
#include "run/EngineUi.h"
#include "run/RunUninstall.h"

namespace scrubber {

void SelectEverything(UninstallModel& model) {
  auto tick = [](auto& items) {
    for (auto& item : items) item.selected = 1;
  };
  tick(model.PrivateFiles);
  tick(model.SystemFiles);
  tick(model.Directories);
  tick(model.IniFiles);
  tick(model.IniEntries);
  tick(model.RegKeys);
  tick(model.RegTrees);
  tick(model.RegEdits);
  tick(model.Icons);
  tick(model.ExternalPrograms);
  tick(model.Services);
  model.SubSystem.selected = 1;
}

PlanResult PlanUninstall(const Platform& real, const MsgStrings& strings, UninstallModel& model,
                         std::string_view logPath, const PlanOptions& options) {
  Globals globals;
  globals.platformKind = real.system.PlatformKind();
  globals.isVersion4OrLater = real.system.MajorVersion() >= 4 ? 1 : 0;
  globals.method = options.custom ? kCustom : kAutomatic;
  globals.rollback = options.rollback ? 1 : 0;
  globals.silent = 1;
  globals.uninstallConfirmed = 1;
  if (options.custom) SelectEverything(model);

  RecordingPlatform recording(real);
  HeadlessUi ui;
  const EngineEnvironment env{recording.platform(), globals, strings, ui};
  RunUninstall(env, model, logPath);

  PlanResult result;
  result.steps = options.raw ? recording.Steps() : SummarizePlan(recording.Steps(), recording.files().KeyOf(logPath));
  result.droppedSteps = recording.DroppedSteps();
  if (globals.rebootNeeded) {
    PlanStep restart;
    restart.op = PlanOp::Restart;
    result.steps.push_back(std::move(restart));
  }
  return result;
}

}  // namespace scrubber
