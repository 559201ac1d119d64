#include "GroupText.h"

namespace scrubber {
namespace {

constexpr char kQuote = '"';

bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

// The quoted text opening at `at` (a double quote), within its line; nullopt
// when the closing quote is missing or the text is over kMaxDdeName.
std::optional<std::string> QuotedAt(std::string_view text, std::size_t at, std::size_t& after) {
  if (at >= text.size() || text[at] != kQuote) return std::nullopt;
  std::size_t end = at + 1;
  while (end < text.size() && text[end] != kQuote && !IsLineEnd(text[end])) ++end;
  if (end >= text.size() || text[end] != kQuote) return std::nullopt;
  if (end - at - 1 > kMaxDdeName) return std::nullopt;
  after = end + 1;
  return std::string(text.substr(at + 1, end - at - 1));
}

// The start of the line after the one holding `pos`: past its CR LF.
std::size_t NextLineStart(std::string_view text, std::size_t pos) {
  while (pos < text.size() && !IsLineEnd(text[pos])) ++pos;
  while (pos < text.size() && IsLineEnd(text[pos])) ++pos;
  return pos;
}

}  // namespace

std::optional<std::string> GroupName(std::string_view text) {
  std::size_t after = 0;
  return QuotedAt(text, 0, after);
}

std::vector<GroupItem> GroupItems(std::string_view text) {
  std::vector<GroupItem> items;
  for (std::size_t line = NextLineStart(text, 0); line < text.size(); line = NextLineStart(text, line)) {
    std::size_t after = 0;
    auto name = QuotedAt(text, line, after);
    if (!name) continue;
    GroupItem item{line, std::move(*name), std::nullopt};
    if (after < text.size() && text[after] == ',') {
      std::size_t end = 0;
      item.command = QuotedAt(text, after + 1, end);
    }
    items.push_back(std::move(item));
  }
  return items;
}

bool HasItemLine(std::string_view text) {
  for (std::size_t line = NextLineStart(text, 0); line < text.size(); line = NextLineStart(text, line)) {
    if (text[line] == kQuote) return true;
  }
  return false;
}

std::vector<std::string> GroupListNames(std::string_view list) {
  std::vector<std::string> names;
  for (std::size_t pos = 0; pos < list.size();) {
    std::size_t end = pos;
    while (end < list.size() && !IsLineEnd(list[end])) ++end;
    if (end > pos && end - pos <= kMaxDdeName) names.emplace_back(list.substr(pos, end - pos));
    pos = NextLineStart(list, end);
  }
  return names;
}

}  // namespace scrubber
