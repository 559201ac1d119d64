#include "IniText.h"

#include <vector>

#include "PlanText.h"
#include "files/PathText.h"

namespace scrubber {
namespace {

std::string_view Trim(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::optional<std::string_view> SectionName(std::string_view line) {
  line = Trim(line);
  if (line.size() < 2 || line.front() != '[') return std::nullopt;
  const std::size_t close = line.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return Trim(line.substr(1, close - 1));
}

std::optional<std::string_view> KeyName(std::string_view line) {
  const std::size_t eq = line.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  return Trim(line.substr(0, eq));
}

struct Found {
  std::optional<std::size_t> header;  // the section's header line
  std::size_t end = 0;                // one past its last line
  std::optional<std::size_t> entry;   // the key's line
};

Found Find(const std::vector<std::string>& lines, std::string_view section, std::string_view key) {
  Found found;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    auto name = SectionName(lines[i]);
    if (!name || !EqualsNoCase(*name, section)) continue;
    found.header = i;
    std::size_t end = i + 1;
    for (; end < lines.size() && !SectionName(lines[end]); ++end) {
      auto k = KeyName(lines[end]);
      if (!found.entry && k && EqualsNoCase(*k, key)) found.entry = end;
    }
    found.end = end;
    break;
  }
  return found;
}

}  // namespace

std::optional<std::string> IniRead(std::string_view text, std::string_view section, std::string_view key) {
  const std::vector<std::string> lines = SplitLines(text);
  const Found found = Find(lines, section, key);
  if (!found.entry) return std::nullopt;
  const std::string& line = lines[*found.entry];
  std::string_view value = Trim(std::string_view(line).substr(line.find('=') + 1));
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
    value = value.substr(1, value.size() - 2);
  return std::string(value);
}

std::string IniWrite(std::string_view text, std::string_view section, std::string_view key,
                     std::optional<std::string_view> value) {
  std::vector<std::string> lines = SplitLines(text);
  const Found found = Find(lines, section, key);
  const std::string entry = value ? std::string(key) + "=" + std::string(*value) : std::string();
  if (!value) {
    if (!found.entry) return std::string(text);
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(*found.entry));
  } else if (found.entry) {
    lines[*found.entry] = entry;
  } else if (found.header) {
    std::size_t at = found.end;
    while (at > *found.header + 1 && Trim(lines[at - 1]).empty()) --at;
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), entry);
  } else {
    lines.push_back("[" + std::string(section) + "]");
    lines.push_back(entry);
  }
  std::string out;
  for (const std::string& line : lines) out.append(line).append("\r\n");
  return out;
}

}  // namespace scrubber
