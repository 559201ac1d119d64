// "Made Dir: " and "File Tree: ": directories the installation created. Nested
// made directories collapse into the outermost one; the first record in list
// order that matches is the one that merges.
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
  if (auto found = dirIndex_.FindNested(dir)) {
    DirItem& item = model_.Directories[*found];
    const std::string old = item.path;
    item.path.resize(std::min(item.path.size(), dir.size()));
    item.lastInstall = installNo_;
    dirIndex_.Rename(*found, old, item.path);
    return;
  }
  AppendDirectory(DirItem{dir, 0, 0, installNo_});
}

void LogParser::AppendDirectory(DirItem item) {
  if (model_.Directories.size() >= kMaxListItems) return;
  dirIndex_.Add(model_.Directories.size(), item.path);
  model_.Directories.push_back(std::move(item));
}

void LogParser::FileTreeRecord(std::string_view value) {
  std::string dir(value);
  if (dir.size() >= 4 && dir.compare(dir.size() - 4, 4, "\\*.*") == 0) dir.resize(dir.size() - 4);
  dir += '\\';
  Advance();
  if (!Fits(dir, kPathWidth) || !IsRootedDirectory(dir)) return;
  if (auto found = dirIndex_.FindEqual(dir)) {
    DirItem& item = model_.Directories[*found];
    item.treeInstall = item.lastInstall = installNo_;
    return;
  }
  AppendDirectory(DirItem{dir, 0, installNo_, installNo_});
}

}  // namespace scrubber
