#include "Fixture.h"

#include <algorithm>
#include <cstdlib>

namespace rosterly::testdir {
namespace {

const char* const kOpNames[] = {"bind", "name", "adspath", "filter", "enumerate",
                                "members", "add", "remove", "setinfo"};

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

std::vector<std::string> Fields(std::string_view line) {
  std::vector<std::string> fields;
  for (;;) {
    const std::size_t bar = line.find('|');
    fields.emplace_back(Trim(line.substr(0, bar)));
    if (bar == std::string_view::npos) break;
    line.remove_prefix(bar + 1);
  }
  return fields;
}

bool ParseOp(const std::string& text, Op& op) {
  const std::string lower = Upper(text);
  for (std::size_t i = 0; i < std::size(kOpNames); ++i) {
    if (lower == Upper(kOpNames[i])) {
      op = static_cast<Op>(i);
      return true;
    }
  }
  return false;
}

bool ParseCode(const std::string& text, std::uint32_t& code) {
  static const std::pair<const char*, std::uint32_t> named[] = {
      {"ACCESSDENIED", kAccessDenied}, {"BADNETPATH", kBadNetPath},
      {"GROUPNOTFOUND", kGroupNotFound}, {"ALREADYMEMBER", kMemberInAlias},
      {"NOTMEMBER", kMemberNotInAlias}, {"FAIL", kFail}, {"NOTHING", kNothing}};
  const std::string upper = Upper(text);
  for (const auto& [name, value] : named) {
    if (upper == name) {
      code = value;
      return true;
    }
  }
  char* end = nullptr;
  const unsigned long value = std::strtoul(text.c_str(), &end, 16);
  if (text.empty() || *end != '\0' || value == 0) return false;
  code = static_cast<std::uint32_t>(value);
  return true;
}

bool ParseCount(const std::string& text, unsigned long& value) {
  char* end = nullptr;
  value = std::strtoul(text.c_str(), &end, 10);
  return !text.empty() && *end == '\0';
}

std::string Key(std::string_view a, std::string_view b) { return Upper(a) + '/' + Upper(b); }

}  // namespace

std::string Upper(std::string_view text) {
  std::string result(text);
  for (char& c : result)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return result;
}

bool Fixture::Parse(std::string_view text, std::string& error) {
  *this = Fixture();
  crlf_ = text.find("\r\n") != std::string_view::npos;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines_.emplace_back(line);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  }
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const std::string_view line = Trim(lines_[i]);
    if (line.empty() || line.front() == '#') continue;
    if (!ParseLine(Fields(line), i, error)) {
      error = "line " + std::to_string(i + 1) + ": " + error;
      return false;
    }
  }
  Index();
  return true;
}

bool Fixture::ParseLine(const std::vector<std::string>& f, std::size_t line, std::string& error) {
  const std::string kind = Upper(f[0]);
  auto need = [&](std::size_t n) {
    if (f.size() >= n && std::all_of(f.begin(), f.begin() + static_cast<long>(n), [](auto& s) { return !s.empty(); }))
      return true;
    error = "too few fields for " + f[0];
    return false;
  };
  if (kind == "DOMAIN") {
    if (!need(2)) return false;
    domains_.push_back(f[1]);
  } else if (kind == "COMPUTER") {
    if (!need(3)) return false;
    computers_.push_back({f[1], f[2], f.size() < 4 || Upper(f[3]) != "UNREACHABLE"});
  } else if (kind == "GROUP" || kind == "LOCALGROUP") {
    if (!need(3)) return false;
    Group g{f[1], f[2], kind == "LOCALGROUP", {}, line};
    for (std::size_t i = 3; i < f.size(); ++i)
      if (!f[i].empty()) g.members.push_back(f[i]);
    groups_.push_back(std::move(g));
  } else if (kind == "USER") {
    if (!need(3)) return false;
    users_.emplace_back(f[1], f[2]);
  } else if (kind == "FAIL" || kind == "BREAK") {
    const bool breaks = kind == "BREAK";
    if (!need(breaks ? 5 : 4)) return false;
    Op op;
    Injected injected;
    unsigned long after = 0;
    injected.breaks = breaks;
    if (!ParseOp(f[2], op)) return error = "unknown operation " + f[2], false;
    if (breaks && op != Op::Enumerate && op != Op::Members) return error = "break needs enumerate or members", false;
    if (breaks && !ParseCount(f[3], after)) return error = "bad count " + f[3], false;
    injected.after = after;
    if (!ParseCode(f[breaks ? 4 : 3], injected.code)) return error = "bad code " + f[breaks ? 4 : 3], false;
    failures_[Upper(f[1]) + '|' + kOpNames[static_cast<int>(op)]] = injected;
  } else if (kind == "DELAY") {
    unsigned long ms = 0;
    if (!need(3)) return false;
    if (!ParseCount(f[2], ms)) return error = "bad delay " + f[2], false;
    delays_[Upper(f[1])] = static_cast<unsigned>(ms);
  } else if (kind == "LATENCY" || kind == "HANG") {
    unsigned long ms = 0;
    if (!need(3)) return false;
    if (!ParseCount(f[2], ms)) return error = "bad time " + f[2], false;
    if (kind == "LATENCY") latencies_[Upper(f[1])] = static_cast<unsigned>(ms);
    else hangs_.emplace_back(f[1], static_cast<unsigned>(ms));
  } else if (kind == "RECORD") {
    if (!need(2)) return false;
    recordFile_ = f[1];
  } else if (kind == "CHANGES") {
    if (!need(2)) return false;
    if (Upper(f[1]) != "ATONCE") return error = "unknown changes mode " + f[1], false;
    changesAtOnce_ = true;
  } else {
    error = "unknown record " + f[0];
    return false;
  }
  return true;
}

void Fixture::Index() {
  domainComputers_.assign(domains_.size(), {});
  domainGroups_.assign(domains_.size(), {});
  domainUsers_.assign(domains_.size(), {});
  computerGroups_.assign(computers_.size(), {});
  for (std::size_t i = 0; i < domains_.size(); ++i) domainIndex_.emplace(Upper(domains_[i]), static_cast<int>(i));
  for (std::size_t i = 0; i < computers_.size(); ++i) {
    computerIndex_.emplace(Upper(computers_[i].name), static_cast<int>(i));
    if (const int d = FindDomain(computers_[i].domain); d >= 0) domainComputers_[d].push_back(static_cast<int>(i));
  }
  for (std::size_t i = 0; i < users_.size(); ++i) {
    userIndex_.emplace(Key(users_[i].first, users_[i].second), static_cast<int>(i));
    if (const int d = FindDomain(users_[i].first); d >= 0) domainUsers_[d].push_back(static_cast<int>(i));
  }
  for (const auto& [name, ms] : hangs_)
    if (const int c = FindComputer(name); c >= 0) computers_[c].hangMs = ms;
  for (std::size_t i = 0; i < groups_.size(); ++i) {
    const Group& g = groups_[i];
    groupIndex_.emplace(Key(g.owner, g.name) + (g.local ? "|L" : "|D"), static_cast<int>(i));
    if (g.local) {
      if (const int c = FindComputer(g.owner); c >= 0) computerGroups_[c].push_back(static_cast<int>(i));
    } else if (const int d = FindDomain(g.owner); d >= 0) {
      domainGroups_[d].push_back(static_cast<int>(i));
    }
  }
}

std::string Fixture::Serialize() const {
  std::vector<std::string> lines = lines_;
  for (const Group& g : groups_) {
    std::string line = std::string(g.local ? "localgroup" : "group") + " | " + g.owner + " | " + g.name;
    for (const std::string& m : g.members) line += " | " + m;
    lines[g.line] = line;
  }
  std::string text;
  for (const std::string& line : lines) text += line + (crlf_ ? "\r\n" : "\n");
  return text;
}

namespace {
int Lookup(const std::unordered_map<std::string, int>& index, const std::string& key) {
  const auto it = index.find(key);
  return it == index.end() ? -1 : it->second;
}
}  // namespace

int Fixture::FindDomain(std::string_view name) const { return Lookup(domainIndex_, Upper(name)); }
int Fixture::FindComputer(std::string_view name) const { return Lookup(computerIndex_, Upper(name)); }
int Fixture::FindGroup(std::string_view owner, std::string_view name, bool local) const {
  return Lookup(groupIndex_, Key(owner, name) + (local ? "|L" : "|D"));
}
int Fixture::FindUser(std::string_view domain, std::string_view name) const {
  return Lookup(userIndex_, Key(domain, name));
}

const std::vector<int>& Fixture::ComputersOf(int domain) const { return domainComputers_[domain]; }
const std::vector<int>& Fixture::GroupsOf(int domain) const { return domainGroups_[domain]; }
const std::vector<int>& Fixture::UsersOf(int domain) const { return domainUsers_[domain]; }
const std::vector<int>& Fixture::LocalGroupsOf(int computer) const { return computerGroups_[computer]; }

const Injected* Fixture::FailureFor(const std::vector<std::string>& aliases, Op op) const {
  if (failures_.empty()) return nullptr;
  for (const std::string& alias : aliases) {
    const auto it = failures_.find(alias + '|' + kOpNames[static_cast<int>(op)]);
    if (it != failures_.end()) return &it->second;
  }
  return nullptr;
}

unsigned Fixture::LatencyOf(std::string_view computerOrDomain) const {
  if (latencies_.empty() || computerOrDomain.empty()) return 0;
  const auto it = latencies_.find(Upper(computerOrDomain));
  return it == latencies_.end() ? 0 : it->second;
}

unsigned Fixture::DelayFor(const std::vector<std::string>& aliases) const {
  if (delays_.empty()) return 0;
  unsigned longest = 0;
  if (const auto all = delays_.find("*"); all != delays_.end()) longest = all->second;
  for (const std::string& alias : aliases)
    if (const auto it = delays_.find(alias); it != delays_.end()) longest = std::max(longest, it->second);
  return longest;
}

}  // namespace rosterly::testdir
