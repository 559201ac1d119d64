#include "ProgramPath.h"

#include <vector>

namespace scrubber {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool IsFile(FileSystem& fs, std::string_view path) {
  const auto attributes = fs.GetAttributes(path);
  return attributes && (*attributes & kAttrDirectory) == 0;
}

bool HasExtension(std::string_view path) {
  const std::size_t name = path.find_last_of("\\/:");
  const std::size_t dot = path.rfind('.');
  return dot != std::string_view::npos && (name == std::string_view::npos || dot > name);
}

bool NamesFile(FileSystem& fs, std::string_view candidate) {
  if (IsFile(fs, candidate)) return true;
  return !HasExtension(candidate) && IsFile(fs, std::string(candidate) + ".exe");
}

}  // namespace

std::string QuoteProgramPath(FileSystem& fs, std::string_view commandLine) {
  const std::string unchanged(commandLine);
  if (commandLine.empty() || commandLine.front() == '"') return unchanged;
  // Where a leading part may end, longest first.
  std::vector<std::size_t> ends{commandLine.size()};
  for (std::size_t i = commandLine.size(); i-- > 1;) {
    if (IsBlank(commandLine[i]) && !IsBlank(commandLine[i - 1])) ends.push_back(i);
  }
  for (const std::size_t end : ends) {
    const std::string_view program = commandLine.substr(0, end);
    if (!NamesFile(fs, program)) continue;
    if (program.find_first_of(" \t") == std::string_view::npos) return unchanged;
    return "\"" + std::string(program) + "\"" + std::string(commandLine.substr(end));
  }
  return unchanged;
}

}  // namespace scrubber
