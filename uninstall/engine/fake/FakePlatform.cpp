#include "FakePlatform.h"

namespace scrubber {
namespace {

void WalkFiles(FakeFileSystem& fs, const std::string& dir, std::map<std::string, std::string>& out) {
  auto scan = fs.FindFirst(dir + "\\*.*");
  DirEntry entry;
  while (scan && scan->Next(entry)) {
    if (entry.name == "." || entry.name == "..") continue;
    const std::string path = dir + "\\" + entry.name;
    out["file " + path] = std::to_string(entry.attributes) + " " + fs.ContentOf(path).value_or("<dir>");
    if (entry.isDirectory() && !entry.isReparsePoint()) WalkFiles(fs, path, out);
  }
}

void WalkKey(FakeRegistry& registry, RegRoot root, const std::string& key, std::map<std::string, std::string>& out) {
  auto open = registry.OpenKeyToRead(root, key);
  if (!open) return;
  const std::string name = std::to_string(static_cast<int>(root)) + "\\" + key;
  out["key " + name] = "";
  for (std::uint32_t i = 0;; ++i) {
    auto value = open->EnumValue(i);
    if (!value) break;
    auto data = open->Query(*value);
    out["value " + name + " [" + *value + "]"] = data ? std::to_string(data->type) + " " + data->data : "?";
  }
  for (std::uint32_t i = 0;; ++i) {
    auto sub = open->EnumSubKey(i);
    if (!sub) break;
    WalkKey(registry, root, key.empty() ? *sub : key + "\\" + *sub, out);
  }
}

}  // namespace

std::map<std::string, std::string> FakePlatform::Snapshot() {
  std::map<std::string, std::string> out;
  for (const std::string& root : fs.RootNames()) WalkFiles(fs, root, out);
  for (int root = 0; root < kRegRootCount; ++root) WalkKey(registry, static_cast<RegRoot>(root), "", out);
  for (const std::string& service : services.Describe()) out["service " + service] = "";
  for (const std::string& group : dde.GroupNames()) {
    out["group " + group] = "";
    for (const std::string& item : dde.ItemNames(group)) out["item " + group + " / " + item] = "";
  }
  for (const RestartMove& move : fs.RestartMoves()) out["restart " + move.from] = move.to;
  return out;
}

}  // namespace scrubber
