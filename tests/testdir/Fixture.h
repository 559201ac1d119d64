#pragma once
// The test directory's data: a WinNT namespace read from a text file, with
// failures to inject. Portable; the provider around it does the file I/O.
//
// Format: one record per line, fields separated by '|', blanks around a
// field ignored, empty lines and lines starting with '#' kept as they are.
// Names compare with letter case ignored, as the real provider does.
//
//   domain     | NAME
//   computer   | DOMAIN | NAME | reachable            (or unreachable)
//   group      | DOMAIN | NAME [| MEMBER ...]          a domain group
//   user       | DOMAIN | NAME                         a domain user
//   localgroup | COMPUTER | NAME [| MEMBER ...]        a computer's local group
//   fail       | PATH | OPERATION | CODE               an injected failure
//   break      | PATH | enumerate | COUNT | CODE       COUNT objects, then CODE
//   delay      | PATH | MILLISECONDS                   wait before binding PATH
//   latency    | NAME | MILLISECONDS                   wait before every call
//                                                      that reaches computer or
//                                                      domain NAME: binds and
//                                                      every call on its objects
//   hang       | COMPUTER | MILLISECONDS               binds of the computer and
//                                                      its groups wait, then fail
//                                                      with RPC_S_SERVER_UNAVAILABLE
//                                                      (it answers ping, its
//                                                      directory service does not)
//   record     | FILE                                 each call the directory
//                                                      receives is appended to
//                                                      FILE as a line: "bind
//                                                      PATH", "add", "remove",
//                                                      "setinfo", "ismember"
//                                                      with the group's ADsPath
//                                                      (and the member's)
//   changes    | atonce                                Add and Remove store the
//                                                      change themselves, as the
//                                                      real provider does;
//                                                      SetInfo stores nothing
//
// MEMBER is an ADsPath as the WinNT provider forms it: "WinNT://CORP/Helpdesk".
// PATH is any path the object can be bound by or its ADsPath (WinNT://PC1,
// WinNT://CORP/PC1, WinNT://PC1/Administrators,group, ...); for delay also
// "*", every bind. OPERATION is one of bind, name, adspath, filter,
// enumerate, members, add, remove, setinfo (break takes enumerate or
// members). CODE is an HRESULT in hex (0x80070005) or one of accessdenied,
// badnetpath, groupnotfound, alreadymember, notmember, fail, or nothing: a
// success that hands out no object (for members and enumerate).
// An unreachable computer refuses binds of itself and of its local groups
// with ERROR_BAD_NETPATH, as a computer that does not answer would.
// Membership changes rewrite only the group's own line.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace rosterly::testdir {

enum class Op { Bind, Name, ADsPath, Filter, Enumerate, Members, Add, Remove, SetInfo };

inline constexpr std::uint32_t kAccessDenied = 0x80070005u;
inline constexpr std::uint32_t kBadNetPath = 0x80070035u;
inline constexpr std::uint32_t kInvalidData = 0x8007000Du;
inline constexpr std::uint32_t kGroupNotFound = 0x800708ACu;   // NERR_GroupNotFound
inline constexpr std::uint32_t kMemberInAlias = 0x80070562u;
inline constexpr std::uint32_t kMemberNotInAlias = 0x80070561u;
inline constexpr std::uint32_t kMemberInGroup = 0x80070528u;
inline constexpr std::uint32_t kMemberNotInGroup = 0x80070529u;
inline constexpr std::uint32_t kBadPathName = 0x80005000u;     // E_ADS_BAD_PATHNAME
inline constexpr std::uint32_t kUnknownObject = 0x80005004u;   // E_ADS_UNKNOWN_OBJECT
inline constexpr std::uint32_t kFail = 0x80004005u;
inline constexpr std::uint32_t kServerUnavailable = 0x800706BAu;  // RPC_S_SERVER_UNAVAILABLE
inline constexpr std::uint32_t kNothing = 1u;  // S_OK with a null result

struct Computer {
  std::string domain;
  std::string name;
  bool reachable = true;
  unsigned hangMs = 0;  // its binds hang this long and fail; 0: they do not
};

struct Group {
  std::string owner;  // domain of a domain group, computer of a local group
  std::string name;
  bool local = false;
  std::vector<std::string> members;  // ADsPaths
  std::size_t line = 0;
};

struct Injected {
  std::uint32_t code = 0;
  bool breaks = false;     // an enumeration that fails after `after` objects
  std::size_t after = 0;
};

std::string Upper(std::string_view text);

class Fixture {
 public:
  // False with a message naming the line when the text is not a fixture.
  bool Parse(std::string_view text, std::string& error);
  std::string Serialize() const;

  const std::vector<std::string>& Domains() const { return domains_; }
  const std::vector<Computer>& Computers() const { return computers_; }
  const std::vector<Group>& Groups() const { return groups_; }
  const std::vector<std::pair<std::string, std::string>>& Users() const { return users_; }
  std::vector<Group>& MutableGroups() { return groups_; }

  int FindDomain(std::string_view name) const;
  int FindComputer(std::string_view name) const;
  int FindGroup(std::string_view owner, std::string_view name, bool local) const;
  int FindUser(std::string_view domain, std::string_view name) const;
  // Children in file order.
  const std::vector<int>& ComputersOf(int domain) const;
  const std::vector<int>& GroupsOf(int domain) const;      // domain groups
  const std::vector<int>& UsersOf(int domain) const;
  const std::vector<int>& LocalGroupsOf(int computer) const;

  // `aliases` are upper-case paths of one object.
  const Injected* FailureFor(const std::vector<std::string>& aliases, Op op) const;
  bool HasFailures() const { return !failures_.empty(); }
  bool ChangesAtOnce() const { return changesAtOnce_; }
  const std::string& RecordFile() const { return recordFile_; }
  unsigned DelayFor(const std::vector<std::string>& aliases) const;
  // The wait before every call that reaches a computer or a domain.
  unsigned LatencyOf(std::string_view computerOrDomain) const;

 private:
  bool ParseLine(const std::vector<std::string>& f, std::size_t line, std::string& error);
  void Index();

  std::vector<std::string> lines_;
  bool crlf_ = false;
  std::vector<std::string> domains_;
  std::vector<Computer> computers_;
  std::vector<Group> groups_;
  std::vector<std::pair<std::string, std::string>> users_;
  std::unordered_map<std::string, Injected> failures_;  // "PATH|op"
  std::unordered_map<std::string, unsigned> delays_;    // "PATH" or "*"
  std::unordered_map<std::string, unsigned> latencies_;  // upper-case name
  std::vector<std::pair<std::string, unsigned>> hangs_;  // applied to computers_ by Index
  bool changesAtOnce_ = false;
  std::string recordFile_;

  std::unordered_map<std::string, int> domainIndex_, computerIndex_, groupIndex_, userIndex_;
  std::vector<std::vector<int>> domainComputers_, domainGroups_, domainUsers_, computerGroups_;
};

}  // namespace rosterly::testdir
