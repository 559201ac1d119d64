#include "ShortenPath.h"

#include "PathText.h"

namespace scrubber {
namespace {

constexpr std::size_t kCutChars = kShownPathChars - 3;

std::string CutWithEllipsis(std::string text) {
  if (text.size() <= kShownPathChars) return text;
  text.resize(kCutChars);
  return text + "...";
}

}  // namespace

std::string ShortenPath(std::string_view path, const LeadBytes& lead) {
  const std::size_t n = path.size();
  if (n <= kShownPathChars) return std::string(path);
  const std::size_t first = FindBackslash(path, 0, lead);
  if (first == std::string_view::npos) return CutWithEllipsis(std::string(path));
  // The first later backslash whose tail, with the drive part and "...",
  // stays within the tail width: n - (distance from the first backslash) + 4.
  std::size_t at = FindBackslash(path, first + 1, lead);
  while (at != std::string_view::npos && n - (at - first) + 4 > kShownTailChars) {
    at = FindBackslash(path, at + 1, lead);
  }
  std::string shown(path);
  if (at != std::string_view::npos && at - first > 4) {
    shown = std::string(path.substr(0, first + 1)) + "..." + std::string(path.substr(at));
  }
  return CutWithEllipsis(std::move(shown));
}

std::string ShortenKey(std::string_view key) { return CutWithEllipsis(std::string(key)); }

}  // namespace scrubber
