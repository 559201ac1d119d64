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

}  // namespace

std::string CanonicalPathNames::Canonical(std::string_view path, PathForm form) {
  auto& dirs = form == PathForm::Long ? longDirs_ : shortDirs_;
  std::string result(path);
  const std::size_t dirEnd = DirectoryEnd(path, lead_);
  std::size_t settled = 0;
  if (dirEnd != std::string_view::npos) {
    const auto known = dirs.find(path.substr(0, dirEnd));
    if (known != dirs.end()) {
      result = known->second + std::string(path.substr(dirEnd));
      settled = known->second.size() + 1;
    }
  }
  CanonicalizePath(fs_, result, form, settled);
  if (settled == 0 && dirEnd != std::string_view::npos) {
    const std::size_t resultEnd = DirectoryEnd(result, lead_);
    if (resultEnd != std::string::npos) {
      if (dirs.size() >= kMaxRememberedDirs) dirs.clear();
      dirs.emplace(std::string(path.substr(0, dirEnd)), result.substr(0, resultEnd));
    }
  }
  return result;
}

}  // namespace scrubber
