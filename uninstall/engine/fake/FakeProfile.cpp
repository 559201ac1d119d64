#include "FakeProfile.h"

#include <vector>

#include "files/PathText.h"

namespace scrubber {
namespace {

std::string_view Trim(std::string_view text) {
  std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  std::size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

std::vector<std::string> Lines(std::string_view text) {
  std::vector<std::string> lines;
  while (!text.empty()) {
    std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.emplace_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

// "[name]" gives name; anything else nullopt.
std::optional<std::string_view> SectionName(std::string_view line) {
  line = Trim(line);
  if (line.size() < 2 || line.front() != '[') return std::nullopt;
  std::size_t close = line.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return Trim(line.substr(1, close - 1));
}

std::optional<std::string_view> KeyName(std::string_view line) {
  std::size_t eq = line.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  return Trim(line.substr(0, eq));
}

// Where the section's lines are: [begin, end) after its header; nullopt when missing.
struct Span {
  std::size_t header, end;
};
std::optional<Span> FindSection(const std::vector<std::string>& lines, std::string_view section) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    auto name = SectionName(lines[i]);
    if (!name || !EqualsNoCase(*name, section)) continue;
    std::size_t end = i + 1;
    while (end < lines.size() && !SectionName(lines[end])) ++end;
    return Span{i, end};
  }
  return std::nullopt;
}

std::optional<std::size_t> FindKey(const std::vector<std::string>& lines, Span span, std::string_view key) {
  for (std::size_t i = span.header + 1; i < span.end; ++i) {
    auto name = KeyName(lines[i]);
    if (name && EqualsNoCase(*name, key)) return i;
  }
  return std::nullopt;
}

std::string Join(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines) text += line + "\r\n";
  return text;
}

}  // namespace

FakeProfile::FakeProfile(FakeFileSystem& files) : files_(files), faults_({"ReadString", "WriteString"}) {}

std::string FakeProfile::FullName(std::string_view file) {
  if (file.find('\\') != std::string_view::npos || file.find(':') != std::string_view::npos) return std::string(file);
  return files_.WindowsDirectory() + "\\" + std::string(file);
}

std::string FakeProfile::ReadString(std::string_view file, std::string_view section, std::string_view key,
                                    std::string_view fallback, std::size_t capacity) {
  if (capacity == 0) return {};
  std::string_view result = Trim(fallback);
  std::string value;
  if (!faults_.Check("ReadString")) {
    auto text = files_.ContentOf(FullName(file));
    std::vector<std::string> lines = text ? Lines(*text) : std::vector<std::string>{};
    auto span = FindSection(lines, section);
    auto at = span ? FindKey(lines, *span, key) : std::nullopt;
    if (at) {
      const std::string& line = lines[*at];
      std::string_view raw = Trim(std::string_view(line).substr(line.find('=') + 1));
      if (raw.size() >= 2 && (raw.front() == '"' || raw.front() == '\'') && raw.back() == raw.front()) {
        raw = raw.substr(1, raw.size() - 2);
      }
      value = raw;
      result = value;
    }
  }
  return std::string(result.substr(0, capacity - 1));
}

Status FakeProfile::WriteString(std::string_view file, std::string_view section, std::string_view key,
                                std::optional<std::string_view> value) {
  if (auto e = faults_.Check("WriteString")) return Status::Fail(*e);
  std::string path = FullName(file);
  auto text = files_.ContentOf(path);
  if (!text && !value) return Status::Ok();
  std::vector<std::string> lines = text ? Lines(*text) : std::vector<std::string>{};
  std::string entry = value ? std::string(key) + "=" + std::string(*value) : std::string();
  auto span = FindSection(lines, section);
  if (!span) {
    if (!value) return Status::Ok();
    lines.push_back("[" + std::string(section) + "]");
    lines.push_back(entry);
  } else if (auto at = FindKey(lines, *span, key)) {
    if (value) {
      lines[*at] = entry;
    } else {
      lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(*at));
    }
  } else if (value) {
    std::size_t insertAt = span->end;
    while (insertAt > span->header + 1 && Trim(lines[insertAt - 1]).empty()) --insertAt;
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insertAt), entry);
  }
  return files_.AddFile(path, Join(lines)) ? Status::Ok() : Status::Fail(SysError::PathNotFound);
}

}  // namespace scrubber
