#include "CanonicalPathNames.h"

#include "CanonicalizePath.h"
#include "PathText.h"

namespace scrubber {
namespace {

// A bound on what one parse remembers.
constexpr std::size_t kMaxRememberedDirs = 4096;

bool IsDrivePath(std::string_view path) {
  return path.size() >= 3 && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')) &&
         path[1] == ':' && path[2] == '\\';
}

// Where the directory of an absolute path's last component ends (its
// backslash); npos for a root or a path of another kind.
std::size_t DirectoryEnd(std::string_view path, const LeadBytes& lead) {
  if (!IsDrivePath(path)) return std::string_view::npos;
  if (EndsWithBackslash(path, lead)) path.remove_suffix(1);
  const std::size_t cut = FindLastBackslash(path, lead);
  return cut != std::string_view::npos && cut > 2 ? cut : std::string_view::npos;
}

// Whether every directory component, in its spelling of `canonicalDir`,
// fitted within the path width as the components were looked up in turn
// with `restSize` characters after the directory: only then is a directory
// spelled the same whatever follows it (a name too long to fit keeps its
// other spelling).
bool FitsThroughout(std::string_view canonicalDir, std::string_view inputDir, std::size_t restSize,
                    const LeadBytes& lead) {
  std::size_t c = 2, i = 2;  // the backslash after the drive
  for (;;) {
    const std::size_t cEnd = FindBackslash(canonicalDir, c + 1, lead);
    const std::size_t iEnd = FindBackslash(inputDir, i + 1, lead);
    if ((cEnd == std::string_view::npos) != (iEnd == std::string_view::npos)) return false;
    const std::size_t through = cEnd == std::string_view::npos ? canonicalDir.size() : cEnd;
    const std::size_t after = iEnd == std::string_view::npos ? 0 : inputDir.size() - iEnd;
    if (through + after + restSize >= kMaxPath) return false;
    if (cEnd == std::string_view::npos) return true;
    c = cEnd;
    i = iEnd;
  }
}

}  // namespace

std::string CanonicalPathNames::Canonical(std::string_view path, PathForm form) {
  auto& dirs = form == PathForm::Long ? longDirs_ : shortDirs_;
  std::string result(path);
  const std::size_t dirEnd = DirectoryEnd(path, lead_);
  std::size_t settled = 0;
  const std::size_t restSize = path.size() - (dirEnd == std::string_view::npos ? 0 : dirEnd);
  if (dirEnd != std::string_view::npos && path.size() < kMaxPath) {
    const auto known = dirs.find(path.substr(0, dirEnd));
    if (known != dirs.end() && FitsThroughout(known->second, path.substr(0, dirEnd), restSize, lead_)) {
      result = known->second + std::string(path.substr(dirEnd));
      settled = known->second.size() + 1;
    }
  }
  const bool complete = CanonicalizePath(fs_, result, form, settled);
  if (complete && settled == 0 && dirEnd != std::string_view::npos) {
    const std::size_t resultEnd = DirectoryEnd(result, lead_);
    if (resultEnd != std::string::npos && path.size() < kMaxPath &&
        FitsThroughout(std::string_view(result).substr(0, resultEnd), path.substr(0, dirEnd), restSize, lead_)) {
      if (dirs.size() >= kMaxRememberedDirs) dirs.clear();
      dirs.emplace(std::string(path.substr(0, dirEnd)), result.substr(0, resultEnd));
    }
  }
  return result;
}

}  // namespace scrubber
