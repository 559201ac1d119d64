#include "Progman.h"

#include <algorithm>
#include <optional>

#include "GroupText.h"
#include "PathText.h"

namespace scrubber {
namespace {

constexpr std::string_view kService = "PROGMAN";
constexpr std::string_view kTopic = "PROGMAN";
constexpr std::string_view kGroupsItem = "GROUPS";
constexpr std::string_view kStartupGroup = "STARTUP";

// A reply as the 16384-byte buffer holds it: up to its first NUL, and
// terminated within the buffer.
std::string Bounded(std::string reply) {
  reply.resize(std::min({reply.find('\0'), reply.size(), kDdeReplyBytes - 1}));
  return reply;
}

// A name as one argument of a command. The Program Manager splits its
// arguments at commas and ends them at parentheses and brackets, so a name
// holding one of them (a group "Acme, Inc") goes in double quotes; its
// syntax has no escape for a double quote, so a name holding one cannot be
// passed at all (nullopt).
std::optional<std::string> Argument(std::string_view name) {
  if (name.find('"') != std::string_view::npos) return std::nullopt;
  const bool plain = name.find_first_of(",()[]") == std::string_view::npos && !name.starts_with(' ') &&
                     !name.ends_with(' ');
  if (plain) return std::string(name);
  std::string quoted = "\"";
  quoted.append(name).push_back('"');
  return quoted;
}

std::string Command(std::string_view verb, std::string_view argument, std::string_view tail) {
  std::string command = "[";
  command.append(verb).append("(").append(argument).append(tail).append(")]");
  return command;
}

// An empty logged command matches nothing by command: it would match every
// other program's item that has none.
bool Matches(std::string_view group, const GroupItem& item, const IconItem& icon) {
  if (item.command && !icon.command.empty() && EqualsNoCase(*item.command, icon.command)) return true;
  return EqualsNoCase(group, icon.group) && EqualsNoCase(item.name, icon.name);
}

}  // namespace

Progman::Progman(DdeClient& dde, EngineUi& ui) : dde_(dde), ui_(ui) {}

Progman::~Progman() = default;

void Progman::OpenProgmanConversation() {
  conversation_.reset();  // before its instance
  instance_.reset();
  for (auto& slot : groups_) slot.clear();
  instance_ = dde_.Initialize();
  if (!instance_) return;
  conversation_ = instance_->Connect(kService, kTopic);
  if (!conversation_) return;
  const auto list = conversation_->Request(kGroupsItem, kRequestTimeoutMs);
  if (list) ReadGroups(Bounded(*list));
}

void Progman::ReadGroups(std::string_view groupList) {
  std::size_t next = 0;
  for (const std::string& name : GroupListNames(groupList)) {
    // The last slot stays empty: it ends every search of the table.
    if (next >= kGroupSlots - 1) break;
    auto text = conversation_->Request(name, kRequestTimeoutMs);
    if (!text) continue;
    std::string group = Bounded(std::move(*text));
    // An empty text would end the table early and hide the groups after it.
    if (!group.empty()) groups_[next++] = std::move(group);
  }
}

void Progman::RemoveIcon(const IconItem& icon) {
  for (std::string& text : groups_) {
    if (text.empty()) break;
    RemoveFromGroup(text, icon);
  }
}

void Progman::RemoveFromGroup(std::string& text, const IconItem& icon) {
  const auto group = GroupName(text);
  if (!group) return;
  // Without the group's own name no command can name it: another group's
  // item of the same name could go instead.
  const auto groupArgument = Argument(*group);
  if (!groupArgument) return;
  // A run stopped between an item and its group left the icon's own group
  // empty: it goes now, as it would have then.
  if (!HasItemLine(text) && EqualsNoCase(*group, icon.group)) {
    DeleteEmptyGroup(text, *group, *groupArgument);
    return;
  }
  for (const GroupItem& item : GroupItems(text)) {
    if (!Matches(*group, item, icon)) continue;
    const auto itemArgument = Argument(item.name);
    if (!itemArgument) continue;
    text[item.lineStart] = kDeletedMark;
    SendProgmanCommand(Command("ShowGroup", *groupArgument, ",2"));
    SendProgmanCommand(Command("ShowGroup", *groupArgument, ",1"));
    SendProgmanCommand(Command("DeleteItem", *itemArgument, ""));
    // Only the group the log names goes once empty: an item found in
    // another by its command leaves that group to its own product.
    if (HasItemLine(text) || !EqualsNoCase(*group, icon.group)) continue;
    DeleteEmptyGroup(text, *group, *groupArgument);
    return;
  }
}

void Progman::DeleteEmptyGroup(std::string& text, std::string_view group, std::string_view argument) {
  text[0] = kDeletedMark;
  // The start-up group stays, empty, for whatever is put there later.
  if (!EqualsNoCase(group, kStartupGroup)) SendProgmanCommand(Command("DeleteGroup", argument, ""));
}

void Progman::SendProgmanCommand(std::string_view command) {
  if (!conversation_) return;
  (void)conversation_->Execute(command, kExecuteTimeoutMs);
}

void Progman::CloseProgmanConversation() {
  conversation_.reset();
  ui_.ShowProgress(std::nullopt);
  instance_.reset();
}

}  // namespace scrubber
