// "INI New: " (an INI file the installation created) and "INI File: " with its
// section, item and value lines (an entry it changed).
#include "LogParser.h"
#include "TextRules.h"

namespace scrubber {

void LogParser::IniNewRecord() {
  Advance();
  if (!Is("INI File: ")) return;
  const std::string path(Value("INI File: "));
  // The entries written into the new file go with it; the next "INI File: "
  // or "INI New: " starts a record of its own.
  for (Advance(); Is("INI ") && !(Text().size() > 4 && (Text()[4] == 'F' || Text()[4] == 'N'));) Advance();
  if (!Fits(path, kPathWidth) || OnFloppy(path) || !Exists(path)) return;
  if (model_.IniFiles.size() < kMaxListItems) model_.IniFiles.push_back(IniFileItem{Convert(path), 0, installNo_});
}

void LogParser::IniEntryRecord(std::string_view path) {
  Advance();
  if (OnFloppy(path)) {
    Advance();  // the line after it goes unexamined
    return;
  }
  if (!Is("INI Sect: ")) return;
  const std::string section(Value("INI Sect: "));
  Advance();
  if (!Is("INI Item: ")) return;
  const std::string key(Value("INI Item: "));
  Advance();
  if (!Is("INI Val: ")) return;
  Advance();
  std::string oldValue;
  if (Is("INI Old: ")) {
    oldValue = Value("INI Old: ");
    Advance();
  }
  if (!Fits(path, kPathWidth) || !Fits(section, kNameWidth) || !Fits(key, kNameWidth) ||
      !Fits(oldValue, kOldValueWidth))
    return;
  // Only an entry that still holds a value is worth changing back.
  if (env_.profile.ReadString(path, section, key, "", 256).empty()) return;
  if (model_.IniEntries.size() < kMaxListItems)
    model_.IniEntries.push_back(IniEntryItem{Convert(path), section, key, oldValue, 0, installNo_});
}

}  // namespace scrubber
