#pragma once
// The Program Manager's description of a group, as text: lines ending in
// CR LF; the first begins with the group's name in double quotes, every
// further line with an item's name in double quotes, a comma and the item's
// command line in double quotes. Nothing here changes the text but the
// deletion marks, which overwrite an opening quote with '*'.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace scrubber {

// Names and command lines longer than this are never taken from a reply: a
// cut name could name another item or group.
inline constexpr std::size_t kMaxDdeName = 255;

inline constexpr char kDeletedMark = '*';

struct GroupItem {
  std::size_t lineStart = 0;  // offset of the opening quote in the group text
  std::string name;
  std::optional<std::string> command;  // none when the line has no command field
};

// The group's name; nullopt when the text does not begin with a quoted name
// (a group marked deleted, say) or the name is too long.
std::optional<std::string> GroupName(std::string_view text);
// Item lines not marked deleted, in order, from the second line on.
std::vector<GroupItem> GroupItems(std::string_view text);
// Whether any line after the first still begins with a double quote.
bool HasItemLine(std::string_view text);

// The names of a group list: one per line, a line ending at a CR or LF, the
// following CR and LF passed over. Empty names and names over kMaxDdeName
// characters are left out.
std::vector<std::string> GroupListNames(std::string_view list);

}  // namespace scrubber
