#pragma once
// An in-memory WinNT namespace: domains with computers, groups and users, and
// computers with local groups and their members. Any operation on any object
// can be made to fail, and enumerations can be made to break part way.
// Membership changes are held by the bound object until SetInfo stores them,
// or, like the real WinNT provider does, applied at once by Add and Remove.
#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Directory.h"

namespace rosterly {

enum class DirOp { Bind, Name, ADsPath, SetFilter, Enumerate, Members, Add, Remove, SetInfo, IsMember };

class FakeDirectory : public Directory {
 public:
  FakeDirectory();

  void AddDomain(const std::string& domain);
  void AddComputer(const std::string& domain, const std::string& computer);
  void AddDomainGroup(const std::string& domain, const std::string& group);
  void AddDomainUser(const std::string& domain, const std::string& user);
  // Members are ADsPaths ("WinNT://DOM/Helpdesk"); unknown ones become users.
  void AddLocalGroup(const std::string& computer, const std::string& group,
                     const std::vector<std::string>& members = {});

  // `path` is any path the object is bound by, or its ADsPath; a path that
  // names no object can still be made to refuse its bind.
  void Fail(std::string_view path, DirOp op, Status failure);
  // Enumerate or Members of the object yields `after` objects, then fails.
  void BreakEnumeration(std::string_view path, DirOp op, std::size_t after, Status failure);

  // Called as each bind begins: what happens elsewhere while it takes its time.
  std::function<void(std::string_view path)> whileBinding;

  // Add and Remove store the change themselves; SetInfo then stores nothing.
  void ApplyChangesAtOnce(bool atOnce = true) { atOnce_ = atOnce; }

  // Stored member ADsPaths of a group.
  std::vector<std::string> MembersOf(std::string_view groupPath) const;
  // "Bind <path>", "SetFilter <ADsPath> <class>", "Enumerate <ADsPath>",
  // "Members <ADsPath>", "Add <ADsPath> <member>", "Remove ...", "SetInfo <ADsPath>".
  const std::vector<std::string>& Calls() const { return calls_; }
  void ClearCalls() { calls_.clear(); }

  static Status AccessDenied();
  static Status BindRefused();
  static Status AlreadyMember();
  static Status NotMember();
  static Status GroupNotFound();

  Result<std::unique_ptr<DirObject>> Bind(std::string_view path, BindAs as) override;

 private:
  friend class FakeDirObject;
  friend class FakeDirEnumerator;
  enum class Kind { Namespace, Domain, Computer, Group, User };
  struct Node {
    Kind kind;
    std::string name;
    std::string adsPath;
    std::string className;
    std::vector<int> children;
    std::vector<std::string> members;
  };
  struct Failure {
    Status status;
    bool breaksEnumeration = false;
    std::size_t after = 0;
  };

  int AddNode(Kind kind, std::string name, std::string adsPath, std::string className, int parent,
              const std::vector<std::string>& bindPaths);
  int Find(std::string_view path) const;  // -1 when unknown
  std::string FailureKey(std::string_view path) const;
  const Failure* FailureFor(int node, DirOp op) const;
  void Log(std::string call) { calls_.push_back(std::move(call)); }

  std::vector<Node> nodes_;
  std::map<std::string, int> byPath_;                    // lower-case path -> node
  std::map<std::pair<std::string, DirOp>, Failure> failures_;  // FailureKey -> failure
  std::vector<std::string> calls_;
  bool atOnce_ = false;
};

}  // namespace rosterly
