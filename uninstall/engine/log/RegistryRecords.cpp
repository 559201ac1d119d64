// "RegDB Key: " with its follow-up lines, and "RegDB Tree: ".
#include "LogParser.h"
#include "TextRules.h"

namespace scrubber {
namespace {

constexpr std::string_view kRoot = "RegDB Root: ";
bool InTable(std::int32_t index) { return index >= 0 && index <= 4; }

}  // namespace

void LogParser::RegKeyRecord(std::string_view key) {
  Advance();
  if (!Is("RegDB Val: ")) return;  // dropped; this line is a record of its own
  Advance();
  std::string name;
  std::int32_t type = kRegSz;
  std::int32_t root = kClassesRoot;
  if (Is("RegDB Name: ")) {
    name = Value("RegDB Name: ");
    Advance();
  }
  if (Is("RegDB Type: ")) {
    type = ParseDecimal(Value("RegDB Type: "));
    Advance();
  }
  if (Is(kRoot)) {
    root = ParseDecimal(Value(kRoot));
    Advance();
  }
  // Old value lines, packed; a run that overflows the field drops the record
  // (a cut value would be restored wrong), and stops growing at once.
  bool edited = false;
  bool oldFits = true;
  std::string oldData;
  for (; Is("RegDB Old: "); Advance()) {
    edited = true;
    if (!oldFits) continue;
    oldData += Value("RegDB Old: ");
    oldData += '\0';
    if (oldData.size() + 1 > kOldDataWidth) {
      oldFits = false;
      oldData.clear();
    }
  }
  if (!Fits(key, kNameWidth) || !Fits(name, kNameWidth) || !InTable(root)) return;
  if (!edited) {
    if (model_.RegKeys.size() < kMaxListItems)
      model_.RegKeys.push_back(RegKeyItem{std::string(key), name, root, 0, installNo_});
    return;
  }
  if (!oldFits || !InTable(type) || model_.RegEdits.size() >= kMaxListItems) return;
  oldData += '\0';
  model_.RegEdits.push_back(RegEditItem{std::string(key), name, std::move(oldData), root, type, 0, installNo_});
}

void LogParser::RegTreeRecord(std::string_view key) {
  Advance();
  std::int32_t root = kClassesRoot;
  if (Is(kRoot)) {
    root = ParseDecimal(Value(kRoot));
    Advance();
  }
  if (!Fits(key, kNameWidth) || !InTable(root)) return;
  std::string id = std::to_string(root) + '|' + UpperKey(key);
  if (auto it = treeIndex_.find(id); it != treeIndex_.end()) {
    model_.RegTrees[it->second].installNo = installNo_;
    return;
  }
  if (model_.RegTrees.size() >= kMaxListItems) return;
  treeIndex_.emplace(std::move(id), model_.RegTrees.size());
  model_.RegTrees.push_back(RegTreeItem{std::string(key), root, 0, installNo_});
}

}  // namespace scrubber
