// "Made Dir: " and "File Tree: ": directories the installation created. Nested
// made directories collapse into the outermost one.
#include "LogParser.h"
#include "TextRules.h"

#include <algorithm>

namespace scrubber {

void LogParser::MadeDirRecord(std::string_view value) {
  // Converted before any comparison, so that OEM and ANSI spellings of one
  // directory meet.
  const std::string dir = Convert(value) + "\\";
  Advance();
  if (!Fits(dir, kPathWidth)) return;

  const std::string shortDir = env_.paths.Short(dir);
  std::string& unDir = model_.uninstallDir;
  if (shortDir.size() <= unDir.size() && EqualsNoCase(std::string_view(unDir).substr(0, shortDir.size()), shortDir))
    unDir.resize(shortDir.size());

  if (!IsRootedDirectory(dir)) return;
  for (DirItem& item : model_.Directories) {
    const std::size_t n = std::min(item.path.size(), dir.size());
    if (EqualsNoCase(std::string_view(item.path).substr(0, n), std::string_view(dir).substr(0, n))) {
      item.path.resize(n);
      item.lastInstall = installNo_;
      return;
    }
  }
  if (model_.Directories.size() < kMaxListItems) model_.Directories.push_back(DirItem{dir, 0, 0, installNo_});
}

void LogParser::FileTreeRecord(std::string_view value) {
  std::string dir(value);
  if (dir.size() >= 4 && dir.compare(dir.size() - 4, 4, "\\*.*") == 0) dir.resize(dir.size() - 4);
  dir += '\\';
  Advance();
  if (!Fits(dir, kPathWidth) || !IsRootedDirectory(dir)) return;
  for (DirItem& item : model_.Directories)
    if (EqualsNoCase(item.path, dir)) {
      item.treeInstall = item.lastInstall = installNo_;
      return;
    }
  if (model_.Directories.size() < kMaxListItems) model_.Directories.push_back(DirItem{dir, 0, installNo_, installNo_});
}

}  // namespace scrubber
