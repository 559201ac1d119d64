#pragma once
// Program Manager icons and groups, removed through its DDE interface: the
// groups and their contents are read once when the conversation opens,
// every item that matches a logged icon is deleted, and a group left empty
// goes too (except the start-up group).
#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "UninstallModel.h"
#include "platform/Dde.h"
#include "run/EngineUi.h"

namespace scrubber {

inline constexpr std::size_t kGroupSlots = 128;
inline constexpr std::uint32_t kRequestTimeoutMs = 5000;
inline constexpr std::uint32_t kExecuteTimeoutMs = 1000;

class Progman {
 public:
  Progman(DdeClient& dde, EngineUi& ui);
  ~Progman();

  void OpenProgmanConversation();
  void RemoveIcon(const IconItem& icon);
  void SendProgmanCommand(std::string_view command);
  void CloseProgmanConversation();

  bool IsOpen() const { return conversation_ != nullptr; }

 private:
  void ReadGroups(std::string_view groupList);
  // Deletes the items of one group text that match the icon.
  void RemoveFromGroup(std::string& text, const IconItem& icon);
  void DeleteEmptyGroup(std::string& text, std::string_view group, std::string_view argument);

  DdeClient& dde_;
  EngineUi& ui_;
  std::unique_ptr<DdeInstance> instance_;
  std::unique_ptr<DdeConversation> conversation_;
  // Group texts as the Program Manager returned them; deletions are marked
  // in place. At most kGroupSlots - 1 are kept, so the table always ends in
  // an empty slot.
  std::array<std::string, kGroupSlots> groups_;
};

}  // namespace scrubber
