#include "FakeDde.h"

#include <algorithm>

#include "files/PathText.h"

namespace scrubber {
namespace {


// As the interface bounds every reply: up to the first NUL, at most
// kDdeReplyBytes - 1 bytes.
std::string Bounded(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  return std::string(text.substr(0, kDdeReplyBytes - 1));
}

class FakeConversation : public DdeConversation {
 public:
  explicit FakeConversation(FakeDde& owner) : owner_(owner) { ++owner_.openConversations; }
  ~FakeConversation() override {
    owner_.Record("Disconnect");
    --owner_.openConversations;
  }
  std::optional<std::string> Request(std::string_view item, std::uint32_t timeoutMs) override {
    owner_.Record("Request " + std::string(item) + " " + std::to_string(timeoutMs));
    if (owner_.faults().Check("Request")) return std::nullopt;
    return owner_.Reply(item);
  }
  Status Execute(std::string_view command, std::uint32_t timeoutMs) override {
    owner_.Record("Execute " + std::string(command) + " " + std::to_string(timeoutMs));
    if (auto e = owner_.faults().Check("Execute")) return Status::Fail(*e);
    return owner_.Run(command);
  }

 private:
  FakeDde& owner_;
};

class FakeInstance : public DdeInstance {
 public:
  explicit FakeInstance(FakeDde& owner) : owner_(owner), openAtStart_(owner.openConversations) {}
  ~FakeInstance() override {
    if (owner_.openConversations > openAtStart_) owner_.closedOutOfOrder_ = true;
    owner_.Record("Uninitialize");
  }
  std::unique_ptr<DdeConversation> Connect(std::string_view service, std::string_view topic) override {
    owner_.Record("Connect " + std::string(service) + " " + std::string(topic));
    if (owner_.faults().Check("Connect") || !owner_.Serves(service, topic)) return nullptr;
    return std::make_unique<FakeConversation>(owner_);
  }

 private:
  FakeDde& owner_;
  int openAtStart_;
};

}  // namespace

FakeDde::FakeDde() : faults_({"Initialize", "Connect", "Request", "Execute"}) {}
FakeDde::~FakeDde() = default;

std::unique_ptr<DdeInstance> FakeDde::Initialize() {
  Record("Initialize");
  if (faults_.Check("Initialize")) return nullptr;
  return std::make_unique<FakeInstance>(*this);
}

bool FakeDde::Serves(std::string_view service, std::string_view topic) const {
  return serverRunning_ && EqualsNoCase(service, "PROGMAN") && EqualsNoCase(topic, "PROGMAN");
}

FakeDde::Group* FakeDde::FindGroup(std::string_view name) {
  auto it = std::find_if(groups_.begin(), groups_.end(), [&](const Group& g) { return EqualsNoCase(g.name, name); });
  return it == groups_.end() ? nullptr : &*it;
}

const FakeDde::Group* FakeDde::FindGroup(std::string_view name) const {
  return const_cast<FakeDde*>(this)->FindGroup(name);
}

std::string FakeDde::Describe(const Group& group) {
  std::string file;
  for (char c : group.name) {
    if (file.size() < 8 && c != ' ') file += AsciiUpper(c);
  }
  std::string text = "\"" + group.name + "\",\"" + file + ".GRP\"," + std::to_string(group.items.size()) + ",0\r\n";
  for (const Item& item : group.items) {
    text += "\"" + item.name + "\",\"" + item.command + "\",\"\",0,0,0,\"" + item.directory + "\",0,0\r\n";
  }
  return text;
}

std::optional<std::string> FakeDde::Reply(std::string_view item) {
  if (auto it = raw_.find(AsciiUpperCase(item)); it != raw_.end()) {
    if (!it->second) return std::nullopt;
    return Bounded(*it->second);
  }
  if (EqualsNoCase(item, "GROUPS")) {
    std::string names;
    for (const Group& group : groups_) names += group.name + "\r\n";
    return Bounded(names);
  }
  if (const Group* group = FindGroup(item)) return Bounded(Describe(*group));
  return std::nullopt;
}

Status FakeDde::Run(std::string_view command) {
  executed_.emplace_back(command);
  const auto commands = ParseProgmanCommands(command);
  if (!commands) return Status::Fail(SysError::InvalidName);
  for (const ProgmanCommand& one : *commands) {
    if (Status status = Apply(one); !status.ok()) return status;
  }
  return Status::Ok();
}

Status FakeDde::Apply(const ProgmanCommand& command) {
  const std::string_view first = command.args.empty() ? std::string_view() : command.args.front();
  if (EqualsNoCase(command.verb, "ShowGroup")) {
    if (!FindGroup(first)) return Status::Fail(SysError::NotFound);
    shownGroup_ = first;
    return Status::Ok();
  }
  if (EqualsNoCase(command.verb, "DeleteItem")) {
    Group* group = FindGroup(shownGroup_);
    if (!group) return Status::Fail(SysError::NotFound);
    auto it = std::find_if(group->items.begin(), group->items.end(),
                           [&](const Item& i) { return EqualsNoCase(i.name, first); });
    if (it == group->items.end()) return Status::Fail(SysError::NotFound);
    group->items.erase(it);
    return Status::Ok();
  }
  if (EqualsNoCase(command.verb, "DeleteGroup")) {
    Group* group = FindGroup(first);
    if (!group) return Status::Fail(SysError::NotFound);
    if (EqualsNoCase(shownGroup_, group->name)) shownGroup_.clear();
    groups_.erase(groups_.begin() + (group - groups_.data()));
    return Status::Ok();
  }
  return Status::Ok();
}

void FakeDde::AddGroup(std::string_view name) {
  if (!FindGroup(name)) groups_.push_back({std::string(name), {}});
}

void FakeDde::AddItem(std::string_view group, std::string_view name, std::string_view commandLine,
                      std::string_view directory) {
  AddGroup(group);
  FindGroup(group)->items.push_back({std::string(name), std::string(commandLine), std::string(directory)});
}

void FakeDde::SetRawReply(std::string_view item, std::string text) {
  raw_[AsciiUpperCase(item)] = std::move(text);
}

void FakeDde::SetNoReply(std::string_view item) {
  raw_[AsciiUpperCase(item)] = std::nullopt;
}

bool FakeDde::HasGroup(std::string_view name) const {
  return FindGroup(name) != nullptr;
}

bool FakeDde::HasItem(std::string_view group, std::string_view name) const {
  const Group* g = FindGroup(group);
  return g && std::any_of(g->items.begin(), g->items.end(), [&](const Item& i) { return EqualsNoCase(i.name, name); });
}

std::vector<std::string> FakeDde::GroupNames() const {
  std::vector<std::string> names;
  for (const Group& group : groups_) names.push_back(group.name);
  return names;
}

std::vector<std::string> FakeDde::ItemNames(std::string_view group) const {
  std::vector<std::string> names;
  if (const Group* g = FindGroup(group)) {
    for (const Item& item : g->items) names.push_back(item.name);
  }
  return names;
}

}  // namespace scrubber
