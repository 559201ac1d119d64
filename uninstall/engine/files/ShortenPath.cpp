#include "ShortenPath.h"

#include "PathText.h"

namespace scrubber {
namespace {

constexpr std::size_t kCutChars = kShownPathChars - 3;

// The cut falls before a double-byte character that would not fit whole:
// half a character would show as another one, or eat the first dot.
std::string CutWithEllipsis(std::string text, const LeadBytes& lead) {
  if (text.size() <= kShownPathChars) return text;
  std::size_t cut = 0;
  while (cut < kCutChars) {
    const std::size_t next = cut + lead.CharLength(text.data(), text.size(), cut);
    if (next > kCutChars) break;
    cut = next;
  }
  text.resize(cut);
  return text + "...";
}

}  // namespace

std::string ShortenPath(std::string_view path, const LeadBytes& lead) {
  const std::size_t n = path.size();
  if (n <= kShownPathChars) return std::string(path);
  const std::size_t first = FindBackslash(path, 0, lead);
  if (first == std::string_view::npos) return CutWithEllipsis(std::string(path), lead);
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
  return CutWithEllipsis(std::move(shown), lead);
}

std::string ShortenKey(std::string_view key, const LeadBytes& lead) { return CutWithEllipsis(std::string(key), lead); }

}  // namespace scrubber
