#include "PlanWorld.h"

#include "PlanOutput.h"

namespace scrubber {
namespace {

class StubConversation final : public DdeConversation {
 public:
  explicit StubConversation(StubProgman& owner) : owner_(owner) {}
  std::optional<std::string> Request(std::string_view item, std::uint32_t) override {
    if (item == "GROUPS") return std::string("Demo\r\n");
    if (item == "Demo") return std::string("\"Demo\",,1\r\n\"App\",\"C:\\APP\\APP.EXE\",,\r\n");
    return std::nullopt;
  }
  Status Execute(std::string_view, std::uint32_t) override {
    ++owner_.executed;
    return Status::Ok();
  }

 private:
  StubProgman& owner_;
};

class StubInstance final : public DdeInstance {
 public:
  explicit StubInstance(StubProgman& owner) : owner_(owner) {}
  std::unique_ptr<DdeConversation> Connect(std::string_view, std::string_view) override {
    return std::make_unique<StubConversation>(owner_);
  }

 private:
  StubProgman& owner_;
};

void Walk(FakeFileSystem& fs, const std::string& dir, std::map<std::string, std::string>& out) {
  auto scan = fs.FindFirst(dir + "\\*.*");
  DirEntry entry;
  while (scan && scan->Next(entry)) {
    if (entry.name == "." || entry.name == "..") continue;
    const std::string path = dir + "\\" + entry.name;
    out["file " + path] = std::to_string(entry.attributes) + " " + fs.ContentOf(path).value_or("<dir>");
    if (entry.isDirectory()) Walk(fs, path, out);
  }
}

void WalkKey(FakeRegistry& registry, RegRoot root, const std::string& key, std::map<std::string, std::string>& out) {
  auto open = registry.OpenKey(root, key);
  if (!open) return;
  out["key " + key] = "";
  for (std::uint32_t i = 0;; ++i) {
    auto name = open->EnumValue(i);
    if (!name) break;
    auto value = open->Query(*name);
    out["value " + key + " [" + *name + "]"] = value ? std::to_string(value->type) + " " + value->data : "?";
  }
  for (std::uint32_t i = 0;; ++i) {
    auto name = open->EnumSubKey(i);
    if (!name) break;
    WalkKey(registry, root, key.empty() ? *name : key + "\\" + *name, out);
  }
}

}  // namespace

std::unique_ptr<DdeInstance> StubProgman::Initialize() { return std::make_unique<StubInstance>(*this); }

std::map<std::string, std::string> PlanWorld::Snapshot() {
  std::map<std::string, std::string> out;
  Walk(fs, "C:", out);
  for (RegRoot root : {RegRoot::CurrentUser, RegRoot::LocalMachine}) WalkKey(registry, root, "Software", out);
  for (const char* name : {"DemoSvc", "OtherSvc"})
    out[std::string("service ") + name] = std::to_string(services.Exists(name)) + std::to_string(services.IsRunning(name));
  out["restart moves"] = std::to_string(fs.RestartMoves().size());
  return out;
}

std::string Ops(const std::vector<PlanStep>& steps) {
  std::string out;
  for (const PlanStep& step : steps) out.append(OpId(step.op)).append(" ").append(step.target).append("\n");
  return out;
}

}  // namespace scrubber
