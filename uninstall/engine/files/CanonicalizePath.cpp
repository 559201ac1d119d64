#include "CanonicalizePath.h"

#include <algorithm>
#include <cstring>

#include "PathText.h"

namespace scrubber {
namespace {

bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Where the components after the root start.
std::size_t FirstComponent(std::string_view path, const LeadBytes& lead) {
  if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') {
    std::size_t server = FindBackslash(path, 2, lead);
    if (server == std::string_view::npos) return path.size();
    std::size_t share = FindBackslash(path, server + 1, lead);
    return share == std::string_view::npos ? path.size() : share + 1;
  }
  std::size_t first = FindBackslash(path, 0, lead);
  return first == std::string_view::npos ? path.size() : first + 1;
}

bool EndsInBackslash(std::string_view path, const LeadBytes& lead) {
  return !path.empty() && FindLastBackslash(path, lead) == path.size() - 1;
}

}  // namespace

void CanonicalizePath(FileSystem& fs, std::string& path, PathForm form) { (void)CanonicalizePath(fs, path, form, 0); }

bool CanonicalizePath(FileSystem& fs, std::string& path, PathForm form, std::size_t settled) {
  if (path.empty() || path.size() >= kMaxPath) return false;
  LeadBytes lead = fs.CodePageLeadBytes();
  std::string work = path;
  bool complete = true;
  // Without a backslash the path is taken below the current directory;
  // one that names its drive ("C:FILE", "C:/APP/A.DLL") is not, as prefixing
  // it would make a path that names nothing.
  bool namesDrive = work.size() >= 2 && IsDriveLetter(work[0]) && work[1] == ':';
  if (!namesDrive && FindBackslash(work, 0, lead) == std::string::npos) {
    std::string cwd = fs.CurrentDirectory();
    if (cwd.empty() || cwd.size() > 256) return false;
    if (!EndsInBackslash(cwd, lead)) cwd += '\\';
    if (cwd.size() + work.size() >= kMaxPath) return false;
    work = cwd + work;
  }
  if (work.size() >= 2 && IsDriveLetter(work[0]) && work[1] == ':') work[0] = AsciiUpper(work[0]);

  for (std::size_t start = std::max(FirstComponent(work, lead), settled); start < work.size();) {
    std::size_t end = FindBackslash(work, start, lead);
    if (end == std::string::npos) end = work.size();
    std::string_view component = std::string_view(work).substr(start, end - start);
    if (!component.empty() && component != "." && component != ".." && !HasWildcard(component)) {
      DirEntry entry;
      auto scan = fs.FindFirst(std::string_view(work).substr(0, end));
      if (scan && scan->Next(entry)) {
        const std::string& name = (form == PathForm::Long || entry.shortName.empty()) ? entry.name : entry.shortName;
        if (!name.empty() && work.size() - component.size() + name.size() < kMaxPath) {
          work.replace(start, component.size(), name);
          end = start + name.size();
        } else if (name != component) {
          complete = false;
        }
      }
    }
    start = end + 1;
  }
  path = std::move(work);
  return complete;
}

void CanonicalizePath(FileSystem& fs, std::span<char> buffer, PathForm form) {
  std::size_t length = strnlen(buffer.data(), buffer.size());
  if (length == buffer.size()) return;  // no terminator: not a path we may touch
  std::string path(buffer.data(), length);
  CanonicalizePath(fs, path, form);
  if (path.size() >= buffer.size()) return;
  std::memcpy(buffer.data(), path.c_str(), path.size() + 1);
}

bool FileExists(FileSystem& fs, std::string_view path) {
  return !path.empty() && path.size() < kMaxPath && fs.GetAttributes(path).has_value();
}

std::optional<std::string> ComparablePath(FileSystem& fs, std::string_view path) {
  std::string cwd = fs.CurrentDirectory();
  auto full = NormalizePath(path, cwd, fs.CodePageLeadBytes());
  if (!full) return std::nullopt;
  CanonicalizePath(fs, *full, PathForm::Long);
  return full;
}

}  // namespace scrubber
