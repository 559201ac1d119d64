#include "PlanText.h"

#include "files/PathText.h"

namespace scrubber {
namespace {

bool Glob(std::string_view p, std::string_view n) {
  // Iterative match with one backtrack point for the last "*".
  std::size_t pi = 0, ni = 0, star = std::string_view::npos, mark = 0;
  while (ni < n.size()) {
    if (pi < p.size() && (p[pi] == '?' || AsciiUpper(p[pi]) == AsciiUpper(n[ni]))) {
      ++pi;
      ++ni;
    } else if (pi < p.size() && p[pi] == '*') {
      star = pi++;
      mark = ni;
    } else if (star != std::string_view::npos) {
      pi = star + 1;
      ni = ++mark;
    } else {
      return false;
    }
  }
  while (pi < p.size() && p[pi] == '*') ++pi;
  return pi == p.size();
}

}  // namespace

bool NameMatches(std::string_view pattern, std::string_view name) {
  if (pattern == "*" || pattern == "*.*") return true;
  if (Glob(pattern, name)) return true;
  // "NAME.*" also finds NAME, as the platform's matching does.
  if (pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*" && name.find('.') == std::string_view::npos)
    return Glob(pattern.substr(0, pattern.size() - 2), name);
  return false;
}

std::string FoldKey(std::string_view text) { return AsciiUpperCase(text); }

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.emplace_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

std::optional<std::vector<std::string>> CommentedOutLines(std::string_view before, std::string_view after) {
  const std::vector<std::string> old = SplitLines(before);
  const std::vector<std::string> now = SplitLines(after);
  if (old.size() != now.size()) return std::nullopt;
  std::vector<std::string> commented;
  for (std::size_t i = 0; i < old.size(); ++i) {
    if (now[i] == old[i]) continue;
    if (now[i].size() == old[i].size() + 1 && now[i][0] == ';' && now[i].compare(1, std::string::npos, old[i]) == 0) {
      commented.push_back(old[i]);
      continue;
    }
    return std::nullopt;
  }
  return commented;
}

}  // namespace scrubber
