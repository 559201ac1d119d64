// "Create Service: ", "Execute Path: " / "Execute Program: ", "Icon Group: "
// and "SubSystem: B".
#include "LogParser.h"
#include "TextRules.h"

namespace scrubber {

void LogParser::ServiceRecord(std::string_view name) {
  Advance();
  if (Fits(name, kPathWidth) && model_.Services.size() < kMaxListItems)
    model_.Services.push_back(ServiceItem{std::string(name), 0, installNo_});
}

void LogParser::ProgramRecord(std::string_view command) {
  Advance();
  if (!Fits(command, kPathWidth)) return;
  std::string id = UpperKey(command);
  if (auto it = programIndex_.find(id); it != programIndex_.end()) {
    model_.ExternalPrograms[it->second].installNo = installNo_;  // a following "Execute Name: " is passed over
    return;
  }
  std::string name;
  if (Is("Execute Name: ")) {
    // Only shown to the user, so a long name is cut rather than lost.
    name = std::string(Value("Execute Name: ").substr(0, kNameWidth - 1));
    Advance();
  }
  if (model_.ExternalPrograms.size() >= kMaxListItems) return;
  programIndex_.emplace(std::move(id), model_.ExternalPrograms.size());
  model_.ExternalPrograms.push_back(ProgramItem{std::string(command), std::move(name), 0, installNo_});
}

void LogParser::IconRecord(std::string_view group) {
  Advance();
  if (!Is("Icon Name: ")) return;
  const std::string name(Value("Icon Name: "));
  Advance();
  if (!Is("Icon Cmd: ")) return;
  const std::string command(Value("Icon Cmd: "));
  Advance();
  if (!Fits(group, kNameWidth) || !Fits(name, kNameWidth) || !Fits(command, kNameWidth)) return;
  // Values hold no line break, so one keeps group and name apart.
  std::string id = UpperKey(group) + '\n' + UpperKey(name);
  if (auto it = iconIndex_.find(id); it != iconIndex_.end()) {
    model_.Icons[it->second].command = command;
    return;
  }
  if (model_.Icons.size() >= kMaxListItems) return;
  iconIndex_.emplace(std::move(id), model_.Icons.size());
  model_.Icons.push_back(IconItem{std::string(group), name, command, 0, installNo_});
}

void LogParser::SubSystemRecord(std::string_view) {
  // The value starts at the B that the keyword matched, in its own case.
  const std::string text(Text().substr(11));
  const RecordId record = CurrentRecord();
  Advance();
  if (!Fits(text, kNameWidth)) return;
  model_.SubSystem = SubSystemItem{true, text, 0, record};
}

}  // namespace scrubber
