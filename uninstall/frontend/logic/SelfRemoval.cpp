#include "SelfRemoval.h"

#include "PathText.h"

namespace scrubber {
namespace {

constexpr std::int32_t kNtFamily = 1;
constexpr std::string_view kCopyExtension = "EXE";
constexpr std::string_view kHelperSwitch = " /z ";
constexpr std::string_view kInitFile = "WININIT.INI";
constexpr std::string_view kRenameHeader = "[rename]\r\n";
constexpr std::string_view kLineEnd = "\r\n";
constexpr char kDoubleQuote = '"';
constexpr char kSpace = ' ';

std::string Quoted(std::string_view text) {
  std::string out(1, kDoubleQuote);
  out.append(text).push_back(kDoubleQuote);
  return out;
}

// One argument of the helper's command line: quoted up to the closing quote
// (or the end), else up to the next blank, or with `toEnd` the whole rest.
std::string_view TakeArgument(std::string_view& rest, bool toEnd) {
  while (!rest.empty() && rest.front() == kSpace) rest.remove_prefix(1);
  std::string_view arg;
  if (!rest.empty() && rest.front() == kDoubleQuote) {
    const std::size_t close = rest.find(kDoubleQuote, 1);
    arg = rest.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1);
    rest = close == std::string_view::npos ? std::string_view() : rest.substr(close + 1);
  } else if (toEnd) {
    arg = rest;
    rest = {};
  } else {
    const std::size_t blank = rest.find(kSpace);
    arg = rest.substr(0, blank);
    rest = blank == std::string_view::npos ? std::string_view() : rest.substr(blank + 1);
  }
  return arg;
}

}  // namespace

std::string TempCopyPathFrom(std::string_view tempName) {
  if (tempName.size() < kCopyExtension.size()) return {};  // no usable name: no copy
  std::string path(tempName.substr(0, tempName.size() - kCopyExtension.size()));
  path.append(kCopyExtension);
  return path;
}

std::string RemovalHelperCommand(std::string_view tempCopyPath, std::string_view programFile,
                                 std::string_view uninstallDir, std::string_view logPath) {
  std::string command = Quoted(tempCopyPath);
  command.append(kHelperSwitch).append(Quoted(programFile));
  command.push_back(kSpace);
  command.append(Quoted(uninstallDir));
  command.push_back(kSpace);
  command.append(Quoted(logPath));
  return command;
}

RemovalArgs SplitRemovalArgs(std::string_view remainder) {
  RemovalArgs args;
  args.programFile = TakeArgument(remainder, false);
  // The older unquoted form: everything after the first blank is the directory.
  args.directory = TakeArgument(remainder, true);
  args.logPath = TakeArgument(remainder, true);
  return args;
}

void DeleteAtRestart(FileSystem& fs, std::int32_t platformKind, std::string_view path) {
  if (platformKind == kNtFamily) {
    (void)fs.MoveFileAtRestart(path, {}, false);  // an empty target deletes
    return;
  }
  std::string initFile = fs.WindowsDirectory();
  if (initFile.empty()) return;  // not "\WININIT.INI" on whatever drive is current
  if (!EndsWithBackslash(initFile, fs.CodePageLeadBytes())) initFile.push_back('\\');
  initFile.append(kInitFile);

  std::string line = "NUL=";
  line.append(path).append(kLineEnd);
  if (std::optional<std::string> text = fs.ReadWholeFile(initFile)) {
    // A last line without its line end would swallow ours.
    if (!text->empty() && text->back() != '\n') text->append(kLineEnd);
    (void)fs.WriteWholeFile(initFile, *text + line);
  } else if (!fs.GetAttributes(initFile)) {
    (void)fs.WriteWholeFile(initFile, std::string(kRenameHeader) + line);
  }
  // A file that exists but cannot be read is left alone: writing it anew
  // would lose the renames already waiting in it.
}

void RemoveFirstRun(FileOperations& files, const RemovalArgs& args, const LeadBytes& leadBytes,
                    const std::function<void()>& afterProgram) {
  const std::string_view program = args.programFile;
  if (!program.empty() && !EndsWithBackslash(program, leadBytes)) (void)files.DeleteOneFile(program);
  if (afterProgram) afterProgram();

  const std::size_t slash = FindLastBackslash(program, leadBytes);
  if (slash != std::string_view::npos) (void)files.RemoveDirectoryTree(program.substr(0, slash), false);

  std::string_view dir = args.directory;
  if (EndsWithBackslash(dir, leadBytes)) dir.remove_suffix(1);
  if (!dir.empty()) (void)files.RemoveDirectoryTree(dir, false);
}

}  // namespace scrubber
