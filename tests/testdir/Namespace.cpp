#include "Namespace.h"

#include <algorithm>

namespace rosterly::testdir {
namespace {

constexpr std::string_view kScheme = "WINNT:";

std::vector<std::string> Split(std::string_view text) {
  std::vector<std::string> parts;
  for (;;) {
    const std::size_t slash = text.find('/');
    parts.emplace_back(text.substr(0, slash));
    if (slash == std::string_view::npos) return parts;
    text.remove_prefix(slash + 1);
  }
}

Node DomainNode(const Fixture& f, int d) { return {Kind::Domain, f.Domains()[d], "", f.Domains()[d], "", false}; }

Node ComputerNode(const Fixture& f, int c) {
  const Computer& computer = f.Computers()[c];
  return {Kind::Computer, computer.domain, computer.name, computer.name, "", false};
}

Node GroupNode(const Fixture& f, int g) {
  const Group& group = f.Groups()[g];
  if (!group.local) return {Kind::Group, group.owner, "", group.name, "", false};
  const int c = f.FindComputer(group.owner);
  if (c < 0) return {Kind::Group, "", group.owner, group.name, "", true};
  return {Kind::Group, f.Computers()[c].domain, f.Computers()[c].name, group.name, "", true};
}

Node UserNode(const Fixture& f, int u) {
  const auto& [domain, name] = f.Users()[u];
  return {Kind::Member, domain, "", name, "WinNT://" + domain + "/" + name, false};
}

bool Wanted(const std::vector<std::string>& classes, const char* cls) {
  return classes.empty() || std::find(classes.begin(), classes.end(), Upper(cls)) != classes.end();
}

std::uint32_t ResolveComputer(const Fixture& f, int c, Node& node) {
  if (c < 0) return kBadNetPath;
  if (!f.Computers()[c].reachable) return kBadNetPath;
  node = ComputerNode(f, c);
  return f.Computers()[c].hangMs ? kServerUnavailable : 0;
}

std::uint32_t ResolveLocalGroup(const Fixture& f, int c, const std::string& name, Node& node) {
  if (const std::uint32_t hr = ResolveComputer(f, c, node)) return hr;
  const int g = f.FindGroup(f.Computers()[c].name, name, true);
  if (g < 0) return kGroupNotFound;
  node = GroupNode(f, g);
  return 0;
}

}  // namespace

std::uint32_t Resolve(const Fixture& f, std::string_view path, Node& node) {
  if (Upper(path.substr(0, kScheme.size())) != kScheme) return kBadPathName;
  path.remove_prefix(kScheme.size());
  if (path.empty()) {
    node = Node{};
    return 0;
  }
  if (path.substr(0, 2) != "//" || path.size() == 2) return kBadPathName;
  path.remove_prefix(2);
  std::string cls;
  if (const std::size_t comma = path.rfind(','); comma != std::string_view::npos && path.find('/', comma) == std::string_view::npos) {
    cls = Upper(path.substr(comma + 1));
    path = path.substr(0, comma);
  }
  const std::vector<std::string> parts = Split(path);
  if (std::any_of(parts.begin(), parts.end(), [](const std::string& p) { return p.empty(); })) return kBadPathName;
  const bool anyClass = cls.empty();
  if (parts.size() == 1) {
    if ((anyClass || cls == "DOMAIN") && f.FindDomain(parts[0]) >= 0) {
      node = DomainNode(f, f.FindDomain(parts[0]));
      return 0;
    }
    if (anyClass || cls == "COMPUTER") return ResolveComputer(f, f.FindComputer(parts[0]), node);
    return kBadNetPath;
  }
  if (parts.size() == 2) {
    const int d = f.FindDomain(parts[0]);
    const int c = f.FindComputer(parts[0]);
    if (d < 0 && c < 0) return kBadNetPath;
    if (d >= 0) {
      if (anyClass || cls == "GROUP") {
        if (const int g = f.FindGroup(parts[0], parts[1], false); g >= 0) return node = GroupNode(f, g), 0;
      }
      if (anyClass || cls == "COMPUTER") {
        const int inDomain = f.FindComputer(parts[1]);
        if (inDomain >= 0 && Upper(f.Computers()[inDomain].domain) == Upper(parts[0]))
          return ResolveComputer(f, inDomain, node);
      }
      if (anyClass || cls == "USER") {
        if (const int u = f.FindUser(parts[0], parts[1]); u >= 0) return node = UserNode(f, u), 0;
      }
      if (c < 0) return cls == "GROUP" ? kGroupNotFound : kUnknownObject;
    }
    if (!anyClass && cls != "GROUP") return kUnknownObject;
    return ResolveLocalGroup(f, c, parts[1], node);
  }
  if (parts.size() == 3 && (anyClass || cls == "GROUP")) {
    const int c = f.FindComputer(parts[1]);
    if (f.FindDomain(parts[0]) < 0 || c < 0 || Upper(f.Computers()[c].domain) != Upper(parts[0])) return kBadNetPath;
    return ResolveLocalGroup(f, c, parts[2], node);
  }
  return kBadPathName;
}

std::string ServedBy(const Node& n) {
  if (n.kind == Kind::Namespace || n.kind == Kind::Member) return std::string();
  return n.computer.empty() ? n.domain : n.computer;
}

std::string ADsPathOf(const Node& n) {
  switch (n.kind) {
    case Kind::Namespace: return "WinNT:";
    case Kind::Domain: return "WinNT://" + n.name;
    case Kind::Computer: return "WinNT://" + n.domain + "/" + n.name;
    case Kind::Group:
      return n.local ? "WinNT://" + n.domain + "/" + n.computer + "/" + n.name : "WinNT://" + n.domain + "/" + n.name;
    case Kind::Member: return n.path;
  }
  return std::string();
}

std::string ClassOf(const Fixture& f, const Node& n) {
  switch (n.kind) {
    case Kind::Namespace: return "Namespace";
    case Kind::Domain: return "Domain";
    case Kind::Computer: return "Computer";
    case Kind::Group: return "Group";
    case Kind::Member: break;
  }
  // A member is a group when its path names a domain group, a user otherwise.
  Node resolved;
  if (Resolve(f, n.path, resolved) == 0 && resolved.kind == Kind::Group) return "Group";
  return "User";
}

std::vector<std::string> AliasesOf(const Node& n) {
  const std::string d = Upper(n.domain), c = Upper(n.computer), name = Upper(n.name);
  switch (n.kind) {
    case Kind::Namespace: return {"WINNT:"};
    case Kind::Domain: return {"WINNT://" + d, "WINNT://" + d + ",DOMAIN"};
    case Kind::Computer:
      return {"WINNT://" + c, "WINNT://" + c + ",COMPUTER", "WINNT://" + d + "/" + c, "WINNT://" + d + "/" + c + ",COMPUTER"};
    case Kind::Group:
      if (!n.local) return {"WINNT://" + d + "/" + name, "WINNT://" + d + "/" + name + ",GROUP"};
      return {"WINNT://" + c + "/" + name, "WINNT://" + c + "/" + name + ",GROUP",
              "WINNT://" + d + "/" + c + "/" + name, "WINNT://" + d + "/" + c + "/" + name + ",GROUP"};
    case Kind::Member: return {Upper(n.path)};
  }
  return {};
}

std::vector<Node> ChildrenOf(const Fixture& f, const Node& n, const std::vector<std::string>& classes) {
  std::vector<Node> children;
  if (n.kind == Kind::Namespace) {
    if (Wanted(classes, "Domain"))
      for (std::size_t d = 0; d < f.Domains().size(); ++d) children.push_back(DomainNode(f, static_cast<int>(d)));
  } else if (n.kind == Kind::Domain) {
    const int d = f.FindDomain(n.name);
    if (d < 0) return children;
    if (Wanted(classes, "Computer"))
      for (int c : f.ComputersOf(d)) children.push_back(ComputerNode(f, c));
    if (Wanted(classes, "User"))
      for (int u : f.UsersOf(d)) children.push_back(UserNode(f, u));
    if (Wanted(classes, "Group"))
      for (int g : f.GroupsOf(d)) children.push_back(GroupNode(f, g));
  } else if (n.kind == Kind::Computer) {
    const int c = f.FindComputer(n.name);
    if (c >= 0 && Wanted(classes, "Group"))
      for (int g : f.LocalGroupsOf(c)) children.push_back(GroupNode(f, g));
  }
  return children;
}

std::vector<Node> MemberNodes(const std::vector<std::string>& members) {
  std::vector<Node> nodes;
  nodes.reserve(members.size());
  for (const std::string& path : members) {
    Node n{Kind::Member, "", "", path.substr(path.rfind('/') + 1), path, false};
    nodes.push_back(std::move(n));
  }
  return nodes;
}

}  // namespace rosterly::testdir
