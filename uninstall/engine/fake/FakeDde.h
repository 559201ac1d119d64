#pragma once
// A DDE client whose only server is a fake Program Manager: service and
// topic "PROGMAN" (letter case ignored). Requests in text format answer
//   "GROUPS"      the group names, one per line, each line ending in CR LF;
//   a group name  the group's description text in the Program Manager's
//                 format: a first line "\"Accessories\",\"ACCESSOR.GRP\",2,0"
//                 (the name in double quotes, then other fields), then one
//                 line per item: "\"Name\",\"command line\",\"\",0,0,0,\"dir\",0,0";
//                 every line ends in CR LF.
// A test can replace the reply for any item with a raw text (long replies,
// long names, odd formats) or make an item answer nothing. Replies are
// bounded as the interface says: cut at the first NUL, then to at most
// kDdeReplyBytes - 1 bytes.
// Execute commands are recorded; "[ShowGroup(name,n)]" chooses the group
// that "[DeleteItem(name)]" deletes from, and "[DeleteGroup(name)]" deletes
// a group, so a later request sees the change. A command naming a group or
// item that does not exist fails, as the Program Manager refuses it; any
// other command is accepted and changes nothing.
// Any call can be made to fail. Instances and conversations must not
// outlive it.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "FaultTable.h"
#include "ProgmanSyntax.h"
#include "platform/Dde.h"

namespace scrubber {

class FakeDde : public DdeClient {
 public:
  FakeDde();
  ~FakeDde() override;

  // DdeClient
  std::unique_ptr<DdeInstance> Initialize() override;

  // The Program Manager's contents. Groups keep the order they were added in.
  void AddGroup(std::string_view name);
  // Adds the item to the group (made when missing).
  void AddItem(std::string_view group, std::string_view name, std::string_view commandLine,
               std::string_view directory = {});
  // Whether the server answers Connect (it does by default).
  void SetServerRunning(bool running) { serverRunning_ = running; }
  // The reply to `item` (letter case ignored) is `text` as it stands,
  // bounded as every reply; it wins over the model.
  void SetRawReply(std::string_view item, std::string text);
  // The item returns no data (Request answers nullopt).
  void SetNoReply(std::string_view item);
  void ClearRawReplies() { raw_.clear(); }

  // Looking at the result.
  bool HasGroup(std::string_view name) const;
  bool HasItem(std::string_view group, std::string_view name) const;
  std::vector<std::string> GroupNames() const;
  std::vector<std::string> ItemNames(std::string_view group) const;
  // The command texts sent with Execute, in order (also failed ones).
  const std::vector<std::string>& Executed() const { return executed_; }
  // Everything in order: "Initialize", "Connect PROGMAN PROGMAN",
  // "Request GROUPS 5000" (item and timeout), "Execute [DeleteItem(X)] 1000",
  // "Disconnect", "Uninitialize".
  const std::vector<std::string>& Log() const { return log_; }
  // True when an instance was destroyed while one of its conversations was
  // still open (the interface asks for the reverse order).
  bool ClosedOutOfOrder() const { return closedOutOfOrder_; }

  // Faults: "Initialize", "Connect", "Request", "Execute".
  FaultTable& faults() { return faults_; }

  // Used by the instances and conversations it hands out.
  void Record(std::string entry) { log_.push_back(std::move(entry)); }
  bool Serves(std::string_view service, std::string_view topic) const;
  std::optional<std::string> Reply(std::string_view item);
  Status Run(std::string_view command);
  Status Apply(const ProgmanCommand& command);
  int openConversations = 0;
  bool closedOutOfOrder_ = false;

 private:
  struct Item {
    std::string name, command, directory;
  };
  struct Group {
    std::string name;
    std::vector<Item> items;
  };
  Group* FindGroup(std::string_view name);
  const Group* FindGroup(std::string_view name) const;
  static std::string Describe(const Group& group);

  std::vector<Group> groups_;
  std::map<std::string, std::optional<std::string>> raw_;  // by upper-case item
  std::string shownGroup_;
  bool serverRunning_ = true;
  std::vector<std::string> executed_;
  std::vector<std::string> log_;
  FaultTable faults_;
};

}  // namespace scrubber
