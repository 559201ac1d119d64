#include "ComputerListReader.h"

namespace rosterly {

namespace {

bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Moves past one field delimiter: a comma, or a line end counted as one
// whether it is CR LF, LF or CR.
std::size_t SkipDelimiter(std::string_view s, std::size_t i) {
  if (i >= s.size()) return i;
  if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') return i + 2;
  return i + 1;
}

}  // namespace

std::vector<std::string> ReadComputerList(std::string_view s) {
  std::vector<std::string> names;
  std::size_t i = 0;
  while (i < s.size()) {
    while (i < s.size() && IsBlank(s[i])) ++i;
    std::string field;
    if (i < s.size() && s[i] == '"') {
      const std::size_t close = s.find('"', i + 1);
      const std::size_t end = close == std::string_view::npos ? s.size() : close;
      field.assign(s.substr(i + 1, end - i - 1));
      i = end == s.size() ? end : end + 1;
      while (i < s.size() && s[i] != ',' && !IsLineEnd(s[i])) ++i;
    } else {
      const std::size_t start = i;
      while (i < s.size() && s[i] != ',' && !IsLineEnd(s[i])) ++i;
      field.assign(s.substr(start, i - start));
    }
    i = SkipDelimiter(s, i);
    if (!field.empty()) names.push_back(std::move(field));
  }
  return names;
}

}  // namespace rosterly
