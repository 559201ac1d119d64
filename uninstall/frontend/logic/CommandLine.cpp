#include "CommandLine.h"

namespace scrubber {
namespace {

constexpr char kSwitchMark = '/';
constexpr char kBlank = ' ';
constexpr char kQuote = '"';

std::size_t SkipBlanks(std::string_view text, std::size_t pos) {
  while (pos < text.size() && text[pos] == kBlank) ++pos;
  return pos;
}

// Applies one switch letter; false when the letter is none of ours, which
// ends the switches (the slash then starts the log path).
bool ApplySwitch(char letter, CommandLine& out) {
  switch (letter) {
    case 'A':
    case 'a':
      out.autoMode = 1;
      return true;
    case 'S':
    case 's':
      out.silent = 1;
      out.autoMode = 1;
      return true;
    case 'R':
    case 'r':
      out.rollback = 1;
      return true;
    case 'Z':  // only keeps the run from copying itself (SkipsTempCopy)
      return true;
    case 'z':
      out.removalHelperMode = 1;
      return true;
    default:
      return false;
  }
}

std::string_view DropTrailingQuote(std::string_view caption) {
  if (!caption.empty() && caption.back() == kQuote) caption.remove_suffix(1);
  return caption;
}

}  // namespace

bool SkipsTempCopy(std::string_view commandLine) {
  return commandLine.size() >= 2 && commandLine[0] == kSwitchMark && (commandLine[1] == 'Z' || commandLine[1] == 'z');
}

CommandLine ParseCommandLine(std::string_view commandLine) {
  CommandLine out;
  std::size_t pos = 0;
  // A slash with nothing after it is not a switch: it stays as the log path.
  while (pos + 1 < commandLine.size() && commandLine[pos] == kSwitchMark && ApplySwitch(commandLine[pos + 1], out)) {
    pos = SkipBlanks(commandLine, pos + 2);
  }
  const std::string_view rest = commandLine.substr(pos);

  if (out.removalHelperMode) {
    out.logPath = rest;  // the helper's two paths, split by SplitRemovalArgs
    return out;
  }
  if (rest.empty()) return out;

  std::string_view caption;
  if (rest.front() == kQuote) {
    const std::size_t close = rest.find(kQuote, 1);
    if (close == std::string_view::npos) {
      out.logPath = rest.substr(1);  // unterminated: the path runs to the end
      return out;
    }
    out.logPath = rest.substr(1, close - 1);
    std::size_t from = close + 1;
    while (from < rest.size() && (rest[from] == kBlank || rest[from] == kQuote)) ++from;
    caption = rest.substr(from);
  } else {
    const std::size_t blank = rest.find(kBlank);
    if (blank == std::string_view::npos) {
      out.logPath = rest;
      return out;
    }
    out.logPath = rest.substr(0, blank);
    caption = rest.substr(blank + 1);
    if (!caption.empty() && caption.front() == kQuote) caption.remove_prefix(1);
  }
  out.captionArg = DropTrailingQuote(caption);
  return out;
}

}  // namespace scrubber
