// ScrubLog: reads an installation log with the uninstaller's own reader and
// prints the model as JSON, so an administrator sees beforehand what an
// uninstall would touch. Messages go to stderr instead of a message box.
//
//   ScrubLog [/settings FILE] LOGFILE
//   ScrubLog [/settings FILE] --plan [/A | /C] [/R] [--json] [--raw] LOGFILE
//
// --plan runs the real engine as a silent uninstall would, over a layer that
// records every change instead of making it, and prints the changes in the
// engine's order, one line each (--json: one JSON object per line). /A is
// the Automatic method (the default), /C Custom with every item ticked, /R
// a rollback of the last installation. As in a silent run no question is
// asked: a shared file whose count reaches zero is kept. Nothing is changed,
// no program is started and no component is loaded. --raw prints the
// platform calls as they came instead of what they mean.
//
// Exit code 0 with the JSON or the plan on stdout, 1 when the log cannot be
// used, 2 for a bad command line.
#include <cstdio>
#include <string>
#include <string_view>

// The interfaces come before <windows.h>, whose A/W macros would otherwise
// rename some of their methods in this file.
#include "CanonicalPathNames.h"
#include "ModelJson.h"
#include "MsgStrings.h"
#include "ParseInstallLog.h"
#include "PlanOutput.h"
#include "PlanUninstall.h"
#include "ResourceStrings.h"
#include "Win32Platform.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>

namespace scrubber {
namespace {

class ConsoleUi final : public ParseUi {
 public:
  void ShowMessage(int, int, std::string_view text, std::string_view caption) override {
    std::fprintf(stderr, "%.*s: %.*s\n", static_cast<int>(caption.size()), caption.data(),
                 static_cast<int>(text.size()), text.data());
  }
  void SetMainTitle(std::string_view) override {}
};

std::string AnsiToUtf8(std::string_view ansi) {
  if (ansi.empty()) return {};
  const int n = static_cast<int>(ansi.size());
  std::wstring wide(static_cast<std::size_t>(MultiByteToWideChar(CP_ACP, 0, ansi.data(), n, nullptr, 0)), L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), n, wide.data(), static_cast<int>(wide.size()));
  const int wn = static_cast<int>(wide.size());
  std::string utf8(static_cast<std::size_t>(WideCharToMultiByte(CP_UTF8, 0, wide.data(), wn, nullptr, 0, nullptr, nullptr)),
                   '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), wn, utf8.data(), static_cast<int>(utf8.size()), nullptr, nullptr);
  return utf8;
}

// The uninstaller's settings file, as if the uninstaller sat beside this
// program: its messages then come out in the same language.
std::string DefaultSettingsFile() {
  char own[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, own, MAX_PATH);
  std::string path(own, n < MAX_PATH ? n : 0);
  const std::size_t slash = path.find_last_of('\\');
  return (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + "Scrubber.INI";
}

int Usage() {
  std::fputs("usage: ScrubLog [/settings FILE] LOGFILE\n"
             "       ScrubLog [/settings FILE] --plan [/A | /C] [/R] [--json] [--raw] LOGFILE\n",
             stderr);
  return 2;
}

bool SwitchIs(std::string_view arg, char letter) {
  return arg.size() == 2 && arg[0] == '/' && (arg[1] == letter || arg[1] == letter - 'A' + 'a');
}

struct PlanArgs {
  bool plan = false;
  bool json = false;
  bool methodGiven = false;
  bool otherGiven = false;
  PlanOptions options;
};

void PrintPlan(const PlanResult& plan, bool json) {
  const std::string text = json ? PlanToJsonLines(plan.steps, AnsiToUtf8) : PlanToText(plan.steps);
  std::fwrite(text.data(), 1, text.size(), stdout);
  if (plan.droppedSteps != 0)
    std::fprintf(stderr, "ScrubLog: %s further steps not listed\n", std::to_string(plan.droppedSteps).c_str());
}

int Run(int argc, char** argv) {
  std::string settings = DefaultSettingsFile();
  std::string logPath;
  PlanArgs plan;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if ((arg == "/settings" || arg == "--settings") && i + 1 < argc) settings = argv[++i];
    else if (arg == "--plan") plan.plan = true;
    else if (SwitchIs(arg, 'A') && !plan.methodGiven) plan.methodGiven = true;
    else if (SwitchIs(arg, 'C') && !plan.methodGiven) plan.methodGiven = plan.options.custom = true;
    else if (SwitchIs(arg, 'R')) plan.otherGiven = plan.options.rollback = true;
    else if (arg == "--json") plan.otherGiven = plan.json = true;
    else if (arg == "--raw") plan.otherGiven = plan.options.raw = true;
    else if (logPath.empty() && !arg.empty() && arg[0] != '/' && arg[0] != '-') logPath = arg;
    else return Usage();
  }
  if (logPath.empty() || (!plan.plan && (plan.methodGiven || plan.otherGiven))) return Usage();

  Win32Platform real;
  FileSystem& fs = real.platform().fs;
  Profile& profile = real.platform().profile;
  Registry& registry = real.platform().registry;
  System& system = real.platform().system;
  CanonicalPathNames paths(fs);
  ResourceStringTable table;
  MsgStrings strings(profile, settings, table, fs.CodePageLeadBytes());
  ConsoleUi ui;
  Globals globals;
  globals.platformKind = system.PlatformKind();
  globals.isVersion4OrLater = system.MajorVersion() >= 4 ? 1 : 0;

  UninstallModel model;
  // The caption is "given" so the reader leaves the (absent) window alone.
  ParseEnvironment env{fs, profile, registry, system, paths, strings, ui, globals, "ScrubLog"};
  if (ParseInstallLog(env, logPath, model) != 0) return 1;
  if (plan.plan) {
    PrintPlan(PlanUninstall(real.platform(), strings, model, logPath, plan.options), plan.json);
    return 0;
  }
  const std::string json = ModelToJson(model, AnsiToUtf8);
  std::fwrite(json.data(), 1, json.size(), stdout);
  return 0;
}

}  // namespace
}  // namespace scrubber

int main(int argc, char** argv) {
  // Bytes as written: the JSON keeps LF, a message keeps the CR LF of a "|".
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  return scrubber::Run(argc, argv);
}
