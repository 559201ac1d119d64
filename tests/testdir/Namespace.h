#pragma once
// Objects of the test directory's WinNT namespace: what a path names, the
// object's ADsPath and class, its children, and the paths that name it.
#include <string>
#include <vector>

#include "Fixture.h"

namespace rosterly::testdir {

enum class Kind { Namespace, Domain, Computer, Group, Member };

struct Node {
  Kind kind = Kind::Namespace;
  std::string domain;    // the domain the object lives in
  std::string computer;  // a local group's computer
  std::string name;
  std::string path;      // a member's ADsPath, as stored
  bool local = false;    // a local group
};

// 0 and the object, or the HRESULT the real provider gives for that path.
// For a computer whose binds hang, kServerUnavailable and the computer.
std::uint32_t Resolve(const Fixture& fixture, std::string_view path, Node& node);
// The computer or domain a call on the object goes to; empty for none.
std::string ServedBy(const Node& node);

std::string ADsPathOf(const Node& node);
std::string ClassOf(const Fixture& fixture, const Node& node);
// Upper-case paths the object can be named by in fail, break and delay records.
std::vector<std::string> AliasesOf(const Node& node);
// Children in the fixture's order; `classes` upper-case, empty for all.
std::vector<Node> ChildrenOf(const Fixture& fixture, const Node& node, const std::vector<std::string>& classes);
// Member objects of a list of member ADsPaths.
std::vector<Node> MemberNodes(const std::vector<std::string>& members);

}  // namespace rosterly::testdir
