#include "FakeDirectory.h"

#include <algorithm>
#include <cctype>

namespace rosterly {

namespace {

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

bool SameText(std::string_view a, std::string_view b) { return Lower(a) == Lower(b); }

Status NoInterface() { return Status::Fail(kErrNoInterface, "No such interface supported"); }

}  // namespace

// A bound object: a node plus the object's own filter and unsaved changes.
class FakeDirObject : public DirObject {
 public:
  FakeDirObject(FakeDirectory& dir, int node) : dir_(dir), node_(node), pending_(dir.nodes_[node].members) {}

  Result<std::string> Name() override {
    if (const auto* f = dir_.FailureFor(node_, DirOp::Name)) return f->status;
    return node().name;
  }
  Result<std::string> ADsPath() override {
    if (const auto* f = dir_.FailureFor(node_, DirOp::ADsPath)) return f->status;
    return node().adsPath;
  }
  Status SetFilter(const std::vector<std::string>& classes) override {
    std::string joined;
    for (const auto& c : classes) joined += (joined.empty() ? "" : ";") + c;
    dir_.Log("SetFilter " + node().adsPath + " " + joined);
    if (const auto* f = dir_.FailureFor(node_, DirOp::SetFilter)) return f->status;
    if (!IsContainer()) return NoInterface();
    filter_ = classes;
    return Status::Ok();
  }
  Result<std::unique_ptr<DirEnumerator>> Enumerate() override;
  Result<std::unique_ptr<DirEnumerator>> Members() override;
  Status Add(std::string_view member) override {
    dir_.Log("Add " + node().adsPath + " " + std::string(member));
    if (const auto* f = dir_.FailureFor(node_, DirOp::Add)) return f->status;
    if (node().kind != FakeDirectory::Kind::Group) return NoInterface();
    if (Contains(member)) return FakeDirectory::AlreadyMember();
    pending_.emplace_back(member);
    if (dir_.atOnce_) node().members = pending_;
    return Status::Ok();
  }
  Status Remove(std::string_view member) override {
    dir_.Log("Remove " + node().adsPath + " " + std::string(member));
    if (const auto* f = dir_.FailureFor(node_, DirOp::Remove)) return f->status;
    if (node().kind != FakeDirectory::Kind::Group) return NoInterface();
    auto it = std::find_if(pending_.begin(), pending_.end(), [&](const std::string& m) { return SameText(m, member); });
    if (it == pending_.end()) return FakeDirectory::NotMember();
    pending_.erase(it);
    if (dir_.atOnce_) node().members = pending_;
    return Status::Ok();
  }
  Status SetInfo() override {
    dir_.Log("SetInfo " + node().adsPath);
    if (const auto* f = dir_.FailureFor(node_, DirOp::SetInfo)) return f->status;
    dir_.nodes_[node_].members = pending_;
    return Status::Ok();
  }
  Result<bool> IsMember(std::string_view member) override {
    dir_.Log("IsMember " + node().adsPath + " " + std::string(member));
    if (const auto* f = dir_.FailureFor(node_, DirOp::IsMember)) return f->status;
    if (node().kind != FakeDirectory::Kind::Group) return NoInterface();
    // From the object's own cache, unstored changes included, as a provider
    // with a property cache answers.
    return Contains(member);
  }

 private:
  FakeDirectory::Node& node() { return dir_.nodes_[node_]; }
  bool IsContainer() {
    const auto k = node().kind;
    return k == FakeDirectory::Kind::Namespace || k == FakeDirectory::Kind::Domain ||
           k == FakeDirectory::Kind::Computer;
  }
  bool Contains(std::string_view member) const {
    return std::any_of(pending_.begin(), pending_.end(), [&](const std::string& m) { return SameText(m, member); });
  }
  bool Passes(int child) const {
    if (filter_.empty()) return true;
    return std::any_of(filter_.begin(), filter_.end(),
                       [&](const std::string& c) { return SameText(c, dir_.nodes_[child].className); });
  }

  FakeDirectory& dir_;
  int node_;
  std::vector<std::string> filter_;
  std::vector<std::string> pending_;
};

class FakeDirEnumerator : public DirEnumerator {
 public:
  FakeDirEnumerator(FakeDirectory& dir, std::vector<int> items, const FakeDirectory::Failure* breaks)
      : dir_(dir), items_(std::move(items)), breaks_(breaks) {}
  Result<std::unique_ptr<DirObject>> Next() override {
    if (breaks_ && next_ >= breaks_->after) return breaks_->status;
    if (next_ >= items_.size()) return std::unique_ptr<DirObject>();
    return std::unique_ptr<DirObject>(std::make_unique<FakeDirObject>(dir_, items_[next_++]));
  }

 private:
  FakeDirectory& dir_;
  std::vector<int> items_;
  const FakeDirectory::Failure* breaks_;
  std::size_t next_ = 0;
};

Result<std::unique_ptr<DirEnumerator>> FakeDirObject::Enumerate() {
  dir_.Log("Enumerate " + node().adsPath);
  const auto* f = dir_.FailureFor(node_, DirOp::Enumerate);
  if (f && !f->breaksEnumeration) return f->status;
  if (!IsContainer()) return NoInterface();
  std::vector<int> items;
  for (int child : node().children)
    if (Passes(child)) items.push_back(child);
  return std::unique_ptr<DirEnumerator>(std::make_unique<FakeDirEnumerator>(dir_, std::move(items), f));
}

Result<std::unique_ptr<DirEnumerator>> FakeDirObject::Members() {
  dir_.Log("Members " + node().adsPath);
  const auto* f = dir_.FailureFor(node_, DirOp::Members);
  if (f && !f->breaksEnumeration) return f->status;
  if (node().kind != FakeDirectory::Kind::Group) return NoInterface();
  std::vector<int> items;
  for (const auto& m : pending_)
    if (const int id = dir_.Find(m); id >= 0) items.push_back(id);
  return std::unique_ptr<DirEnumerator>(std::make_unique<FakeDirEnumerator>(dir_, std::move(items), f));
}

FakeDirectory::FakeDirectory() { AddNode(Kind::Namespace, "WinNT:", "WinNT:", "Namespace", -1, {"WinNT:"}); }

int FakeDirectory::AddNode(Kind kind, std::string name, std::string adsPath, std::string className, int parent,
                           const std::vector<std::string>& bindPaths) {
  const int id = static_cast<int>(nodes_.size());
  nodes_.push_back(Node{kind, std::move(name), std::move(adsPath), std::move(className), {}, {}});
  if (parent >= 0) nodes_[parent].children.push_back(id);
  byPath_.emplace(Lower(nodes_[id].adsPath), id);
  for (const auto& p : bindPaths) byPath_.emplace(Lower(p), id);
  return id;
}

int FakeDirectory::Find(std::string_view path) const {
  auto it = byPath_.find(Lower(path));
  return it == byPath_.end() ? -1 : it->second;
}

void FakeDirectory::AddDomain(const std::string& d) { AddNode(Kind::Domain, d, "WinNT://" + d, "Domain", 0, {}); }

void FakeDirectory::AddComputer(const std::string& d, const std::string& c) {
  AddNode(Kind::Computer, c, "WinNT://" + d + "/" + c, "Computer", Find("WinNT://" + d),
          {"WinNT://" + c, "WinNT://" + d + "/" + c + ",computer"});
}

void FakeDirectory::AddDomainGroup(const std::string& d, const std::string& g) {
  AddNode(Kind::Group, g, "WinNT://" + d + "/" + g, "Group", Find("WinNT://" + d), {"WinNT://" + d + "/" + g + ",group"});
}

void FakeDirectory::AddDomainUser(const std::string& d, const std::string& u) {
  AddNode(Kind::User, u, "WinNT://" + d + "/" + u, "User", Find("WinNT://" + d), {"WinNT://" + d + "/" + u + ",user"});
}

void FakeDirectory::AddLocalGroup(const std::string& c, const std::string& g, const std::vector<std::string>& members) {
  const int computer = Find("WinNT://" + c);
  const std::string base = nodes_[computer].adsPath + "/" + g;
  const int id = AddNode(Kind::Group, g, base, "Group", computer,
                         {"WinNT://" + c + "/" + g + ",group", "WinNT://" + c + "/" + g, base + ",group"});
  for (const auto& m : members) {
    if (Find(m) < 0) AddNode(Kind::User, m.substr(m.rfind('/') + 1), m, "User", -1, {});
    nodes_[id].members.push_back(m);
  }
}

std::string FakeDirectory::FailureKey(std::string_view path) const {
  const int node = Find(path);
  return node >= 0 ? "#" + std::to_string(node) : Lower(path);
}

void FakeDirectory::Fail(std::string_view path, DirOp op, Status failure) {
  failures_[{FailureKey(path), op}] = Failure{std::move(failure), false, 0};
}

void FakeDirectory::BreakEnumeration(std::string_view path, DirOp op, std::size_t after, Status failure) {
  failures_[{FailureKey(path), op}] = Failure{std::move(failure), true, after};
}

const FakeDirectory::Failure* FakeDirectory::FailureFor(int node, DirOp op) const {
  auto it = failures_.find({"#" + std::to_string(node), op});
  return it == failures_.end() ? nullptr : &it->second;
}

std::vector<std::string> FakeDirectory::MembersOf(std::string_view groupPath) const {
  const int node = Find(groupPath);
  return node < 0 ? std::vector<std::string>{} : nodes_[node].members;
}

Result<std::unique_ptr<DirObject>> FakeDirectory::Bind(std::string_view path, BindAs as) {
  Log("Bind " + std::string(path));
  if (whileBinding) whileBinding(path);
  auto refused = failures_.find({FailureKey(path), DirOp::Bind});
  if (refused != failures_.end()) return refused->second.status;
  const int node = Find(path);
  if (node < 0) {
    const bool group = path.size() >= 6 && SameText(path.substr(path.size() - 6), ",group");
    return group ? GroupNotFound() : BindRefused();
  }
  const Kind kind = nodes_[node].kind;
  const bool fits = as == BindAs::Group ? kind == Kind::Group : (kind != Kind::Group && kind != Kind::User);
  if (!fits) return NoInterface();
  return std::unique_ptr<DirObject>(std::make_unique<FakeDirObject>(*this, node));
}

Status FakeDirectory::AccessDenied() { return Status::Fail(kErrAccessDenied, "Access is denied."); }
Status FakeDirectory::BindRefused() { return Status::Fail(kErrBadNetPath, "The network path was not found."); }
Status FakeDirectory::AlreadyMember() {
  return Status::Fail(kErrMemberInAlias, "The specified account name is already a member of the group.");
}
Status FakeDirectory::NotMember() {
  return Status::Fail(kErrMemberNotInAlias, "The specified account name is not a member of the group.");
}
Status FakeDirectory::GroupNotFound() { return Status::Fail(0x800708ACu, "The group name could not be found."); }

}  // namespace rosterly
