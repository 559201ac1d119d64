#include "LogParser.h"

#include <algorithm>
#include <limits>

#include "TextRules.h"

namespace scrubber {
namespace {

constexpr int kCaptionPackwright = 2;
constexpr int kMsgInvalidLog = 4;
constexpr int kMsgUninstall = 25;
constexpr int kMsgAdminRights = 67;
constexpr int kMsgInstallationEnding = 74;
constexpr int kMsgCannotOpen = 76;

constexpr std::string_view kHeaderMark = "*** ";

struct HeaderKeyword {
  std::string_view keyword;
  std::string HeaderRecord::*field;
};
constexpr HeaderKeyword kHeaderKeywords[] = {
    {"Uninstall MIF: ", &HeaderRecord::mifName},
    {"Manufacturer: ", &HeaderRecord::manufacturer},
    {"Product: ", &HeaderRecord::product},
    {"Version Number: ", &HeaderRecord::version},
    {"Serial Number: ", &HeaderRecord::serialNumber},
};

// Display texts are cut to their field; they name nothing the uninstall touches.
std::string Cut(std::string_view text, std::size_t width) { return std::string(text.substr(0, width - 1)); }

bool IsAnsiHeader(std::string_view line) { return line.size() > 4 && line[4] == ' '; }

}  // namespace

bool IsRootedDirectory(std::string_view dir) {
  if (dir.size() < 4) return false;
  if (dir[0] == '\\' && dir[1] == '\\') return true;
  const bool letter = (dir[0] >= 'A' && dir[0] <= 'Z') || (dir[0] >= 'a' && dir[0] <= 'z');
  return letter && dir[1] == ':' && dir[2] == '\\';
}

LogParser::LogParser(const ParseEnvironment& env, UninstallModel& model)
    : env_(env), model_(model), leadBytes_(env.fs.CodePageLeadBytes()) {}

std::string_view LogParser::Text() const {
  if (!current_) return {};
  const std::string& t = current_->text;
  return std::string_view(t.data(), std::min(t.size(), t.find('\0')));
}

RecordId LogParser::CurrentRecord() const {
  if (!current_) return {};
  // FNV-1a: enough to tell one line from another at the same offset.
  std::uint32_t hash = 2166136261u;
  for (const char c : current_->text) hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
  return RecordId{current_->offset, hash};
}

bool LogParser::Is(std::string_view keyword) const { return current_ && StartsWithNoCase(Text(), keyword); }

bool LogParser::IsWhole(std::string_view line) const { return current_ && EqualsNoCase(Text(), line); }

bool LogParser::OnFloppy(std::string_view path) const {
  return (StartsWithNoCase(path, "A:") && floppyA_) || (StartsWithNoCase(path, "B:") && floppyB_);
}

bool LogParser::Exists(std::string_view path) const { return env_.fs.GetAttributes(path).has_value(); }

std::string LogParser::Convert(std::string_view text) const {
  return model_.ansiText ? std::string(text) : env_.system.OemTextToAnsi(text);
}

void LogParser::Fail(int textId, int captionId) {
  env_.ui.ShowMessage(textId, captionId, env_.strings.Get(textId), env_.strings.Get(captionId));
}

void LogParser::SetUninstallDir(std::string_view logPath) {
  // The log's directory; a drive root keeps its backslash so that it stays a
  // root, and a bare file name lies in the current directory.
  const std::size_t slash = FindLastBackslash(logPath, leadBytes_);
  std::string dir;
  if (slash == std::string_view::npos) {
    dir = env_.fs.CurrentDirectory();
  } else {
    dir = std::string(logPath.substr(0, slash));
    if (dir.size() == 2 && dir[1] == ':') dir += '\\';
  }
  dir = env_.paths.Short(dir);
  if (dir.empty() || dir.back() != '\\') dir += '\\';
  // A directory that does not fit would name another one when cut.
  model_.uninstallDir = Fits(dir, kPathWidth) ? dir : std::string();
}

void LogParser::SeedLogDirectory(std::string_view logPath) {
  std::string dir = env_.paths.Long(logPath);
  const std::size_t slash = FindLastBackslash(dir, leadBytes_);
  if (slash == std::string::npos) return;
  dir.resize(slash + 1);
  if (dir.size() <= 3 || !Fits(dir, kPathWidth)) return;
  // Never offer the Windows or System directory, or one above them.
  if (StartsWithNoCase(systemDir_ + "\\", dir) || StartsWithNoCase(windowsDir_ + "\\", dir)) return;
  AppendDirectory(DirItem{dir, 0, 0, kLogDirInstall});
}

bool LogParser::ReadTitle() {
  for (Advance(); !AtEnd(); Advance()) {
    const std::string_view line = Text();
    if (line.substr(0, 6) != "Title:") continue;
    std::string title(line.size() > 7 ? line.substr(7) : std::string_view());
    CleanTitle(title);
    model_.LogHeader.title = Cut(title, kTitleWidth);
    return true;
  }
  return false;
}

void LogParser::CleanTitle(std::string& title) const {
  const std::string ending = env_.strings.Get(kMsgInstallationEnding);
  if (title.size() > 13 && !ending.empty() && EndsWithNoCase(title, ending)) title.resize(title.size() - ending.size());
  constexpr std::string_view kInstall = " INSTALL";
  if (title.size() > 8 && EndsWithNoCase(title, kInstall)) title.resize(title.size() - kInstall.size());
}

int LogParser::Run(std::string_view logPath) {
  model_ = UninstallModel{};
  windowsDir_ = env_.fs.WindowsDirectory();
  systemDir_ = env_.fs.SystemDirectory();
  SetUninstallDir(logPath);
  floppyA_ = env_.fs.DriveTypeOf("A:\\") == DriveType::Removable;
  floppyB_ = env_.fs.DriveTypeOf("B:\\") == DriveType::Removable;
  SeedLogDirectory(logPath);

  file_ = env_.fs.OpenForReading(logPath);
  if (!file_) {
    Fail(kMsgCannotOpen, kCaptionPackwright);
    return 1;
  }
  reader_.emplace(*file_);
  Advance();
  if (AtEnd() || Text().substr(0, 4) != kHeaderMark) {
    Fail(kMsgInvalidLog, kCaptionPackwright);
    return 1;
  }
  model_.installCount = installNo_ = 1;
  model_.ansiText = IsAnsiHeader(Text()) ? 1 : 0;
  if (!ReadTitle()) {
    Fail(kMsgInvalidLog, kCaptionPackwright);
    return 1;
  }
  if (env_.commandLineCaption.size() <= 1)
    env_.ui.SetMainTitle(env_.strings.Get(kMsgUninstall) + " " + model_.LogHeader.title);

  Advance();
  return ReadRecords();
}

int LogParser::ReadRecords() {
  while (!AtEnd()) {
    HeaderLine();
    if (AdminCheckFails()) {
      Fail(kMsgAdminRights, kMsgUninstall);
      return 1;
    }
    // The two flag lines qualify only the record right after them.
    nonSystem_ = IsWhole("Non-System File:");
    if (nonSystem_ && (Advance(), AtEnd())) break;
    counterIgnored_ = IsWhole("Shared DLL counter ignored:");
    if (counterIgnored_ && (Advance(), AtEnd())) break;
    Record();
  }
  return 0;
}

void LogParser::HeaderLine() {
  const std::string_view line = Text();
  if (line.substr(0, 4) == kHeaderMark) {
    if (model_.installCount < std::numeric_limits<std::uint16_t>::max()) ++model_.installCount;
    installNo_ = model_.installCount;
    model_.lastInstallOffset =
        static_cast<std::uint32_t>(std::min<std::uint64_t>(current_->offset, std::numeric_limits<std::uint32_t>::max()));
    model_.ansiText = IsAnsiHeader(line) ? 1 : 0;
    return;
  }
  for (const HeaderKeyword& h : kHeaderKeywords)
    if (StartsWithNoCase(line, h.keyword)) {
      model_.LogHeader.*h.field = Cut(line.substr(h.keyword.size()), kHeaderWidth);
      return;
    }
}

bool LogParser::AdminCheckFails() {
  if (adminChecked_ || env_.globals.platformKind != 1 || !IsWhole("User Rights: Admin")) return false;
  adminChecked_ = true;
  return !env_.system.CanOpenServiceManager();
}

void LogParser::Record() {
  struct Keyword {
    std::string_view text;
    void (*handle)(LogParser&, std::string_view value);
  };
  static constexpr Keyword kRecords[] = {
      {"File Copy: ", [](LogParser& p, std::string_view v) { p.FileRecord(FileKind::Copy, v); }},
      {"Shell Link: ", [](LogParser& p, std::string_view v) { p.FileRecord(FileKind::Link, v); }},
      {"File Overwrite: ", [](LogParser& p, std::string_view v) { p.FileRecord(FileKind::Overwrite, v); }},
      {"RegDB Key: ", [](LogParser& p, std::string_view v) { p.RegKeyRecord(v); }},
      {"File Edit: ", [](LogParser& p, std::string_view v) { p.EditedFileRecord(v); }},
      {"Create Service: ", [](LogParser& p, std::string_view v) { p.ServiceRecord(v); }},
      {"Add Device: ", [](LogParser& p, std::string_view v) { p.AddDevice(v); }},
      {"Self-Register: ", [](LogParser& p, std::string_view v) { p.SelfRegister(v); }},
      {"INI New: ", [](LogParser& p, std::string_view) { p.IniNewRecord(); }},
      {"INI File: ", [](LogParser& p, std::string_view v) { p.IniEntryRecord(v); }},
      {"Execute Path: ", [](LogParser& p, std::string_view v) { p.ProgramRecord(v); }},
      {"Execute Program: ", [](LogParser& p, std::string_view v) { p.ProgramRecord(v); }},
      {"Icon Group: ", [](LogParser& p, std::string_view v) { p.IconRecord(v); }},
      {"SubSystem: B", [](LogParser& p, std::string_view v) { p.SubSystemRecord(v); }},
      {"Made Dir: ", [](LogParser& p, std::string_view v) { p.MadeDirRecord(v); }},
      {"File Tree: ", [](LogParser& p, std::string_view v) { p.FileTreeRecord(v); }},
      {"RegDB Tree: ", [](LogParser& p, std::string_view v) { p.RegTreeRecord(v); }},
  };
  for (const Keyword& k : kRecords)
    if (Is(k.text)) {
      // The handler moves the cursor; keep the value alive while it does.
      const std::string value(Value(k.text));
      k.handle(*this, value);
      return;
    }
  Advance();  // not a record: passed over
}

int ParseInstallLog(const ParseEnvironment& env, std::string_view logPath, UninstallModel& model) {
  LogParser parser(env, model);
  return parser.Run(logPath);
}

}  // namespace scrubber
