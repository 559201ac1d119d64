// Speed of the engine on the real system: an Automatic silent run over a
// log of 4,096 private files in 64 directories, beside a bare loop that
// deletes the same files with DeleteFileA, alternately in one process so
// that both see the same machine. Prints the times, their ratio and the
// longest time the engine went without dispatching messages, first with
// the shared counts as the system has them, then with 5,000 counts of
// other products beside them.
//
//   bench_engine_speed [ROUNDS]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "StringTable.h"
#include "CanonicalPathNames.h"
#include "MsgStrings.h"
#include "ParseInstallLog.h"
#include "run/RunUninstall.h"
#include "Win32Platform.h"

#include <windows.h>

namespace scrubber {
namespace {

constexpr int kDirs = 64;
constexpr int kFilesPerDir = 64;
constexpr int kForeignCounts = 5000;
constexpr char kSharedDlls[] = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

double Now() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Dispatches what is queued, as the wizard's pump does, and remembers the
// longest stretch between two pumps.
class PumpingUi final : public EngineUi {
 public:
  void BeginProgress(std::string_view) override {
    begun = Now();
    Pump();
  }
  // Where the time goes: the first progress line of each kind.
  void ShowProgress(std::optional<std::string_view> text) override {
    if (!text) return;
    const std::string kind(text->substr(0, text->find('\r')));
    if (phases.empty() || phases.back().first != kind) phases.emplace_back(kind, Now() - begun);
  }
  void PumpMessages(std::uint32_t) override { Pump(); }
  int AskRemoveShared(std::string_view) override { return kSharedNo; }
  int ShowServerRunning(std::string_view, std::string_view) override { return kServerIgnore; }
  void FocusWizard() override {}

  double longestGap = 0;
  long pumps = 0;
  double begun = 0;
  std::vector<std::pair<std::string, double>> phases;

 private:
  void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    const double now = Now();
    if (last_ > 0) longestGap = std::max(longestGap, now - last_);
    last_ = now;
    ++pumps;
  }
  double last_ = 0;
};

class QuietParseUi final : public ParseUi {
 public:
  void ShowMessage(int, int, std::string_view text, std::string_view) override {
    std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
  }
  void SetMainTitle(std::string_view) override {}
};

std::string FileName(const std::string& root, int d, int f) {
  char name[64];
  std::snprintf(name, sizeof name, "\\dir%02d\\file%04d.dat", d, f);
  return root + name;
}

bool MakeTree(const std::string& root) {
  if (!CreateDirectoryA(root.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return false;
  for (int d = 0; d < kDirs; ++d) {
    char dir[32];
    std::snprintf(dir, sizeof dir, "\\dir%02d", d);
    if (!CreateDirectoryA((root + dir).c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return false;
    for (int f = 0; f < kFilesPerDir; ++f) {
      HANDLE h = CreateFileA(FileName(root, d, f).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
      if (h == INVALID_HANDLE_VALUE) return false;
      DWORD written = 0;
      WriteFile(h, "x", 1, &written, nullptr);
      CloseHandle(h);
    }
  }
  return true;
}

bool WriteLog(const std::string& root, const std::string& logPath) {
  std::string log = "*** Installation Started\r\nTitle: Speed Test\r\n";
  for (int d = 0; d < kDirs; ++d) {
    char dir[32];
    std::snprintf(dir, sizeof dir, "\\dir%02d", d);
    log += "Made Dir: " + root + dir + "\r\n";
    for (int f = 0; f < kFilesPerDir; ++f) log += "File Copy: " + FileName(root, d, f) + "\r\n";
  }
  HANDLE h = CreateFileA(logPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok = WriteFile(h, log.data(), static_cast<DWORD>(log.size()), &written, nullptr);
  CloseHandle(h);
  return ok && written == log.size();
}

struct EngineRun {
  double seconds = 0;
  double parseSeconds = 0;
  double longestGap = 0;
  long pumps = 0;
};

EngineRun RunEngine(const std::string& logPath) {
  Win32Platform win32;
  Platform& platform = win32.platform();
  BuiltinStringTable table;
  MsgStrings strings(platform.profile, "", table, platform.fs.CodePageLeadBytes());
  CanonicalPathNames paths(platform.fs);
  QuietParseUi parseUi;
  Globals globals;
  globals.method = kAutomatic;
  globals.silent = 1;
  PumpingUi ui;
  UninstallModel model;
  const double start = Now();
  ParseEnvironment parse{platform.fs, platform.profile, platform.registry, platform.system, paths, strings,
                         parseUi,     globals,          "bench"};
  if (ParseInstallLog(parse, logPath, model) != 0) return {};
  const double parsed = Now();
  RunUninstall(EngineEnvironment{platform, globals, strings, ui}, model, logPath);
  const double end = Now();
  if (std::getenv("ENGINE_SPEED_PHASES")) {
    for (const auto& [kind, at] : ui.phases) std::printf("  %8.1f ms  %s\n", at * 1000, kind.c_str());
    std::printf("  %8.1f ms  end\n", (end - ui.begun) * 1000);
  }
  return {end - start, parsed - start, ui.longestGap, ui.pumps};
}

double RunBareLoop(const std::string& root) {
  const double start = Now();
  for (int d = 0; d < kDirs; ++d) {
    for (int f = 0; f < kFilesPerDir; ++f) DeleteFileA(FileName(root, d, f).c_str());
  }
  return Now() - start;
}

int Leftovers(const std::string& root) {
  int left = 0;
  for (int d = 0; d < kDirs; ++d) {
    for (int f = 0; f < kFilesPerDir; ++f) {
      if (GetFileAttributesA(FileName(root, d, f).c_str()) != INVALID_FILE_ATTRIBUTES) ++left;
    }
  }
  return left;
}

void RemoveTree(const std::string& root) {
  (void)RunBareLoop(root);
  for (int d = 0; d < kDirs; ++d) {
    char dir[32];
    std::snprintf(dir, sizeof dir, "\\dir%02d", d);
    RemoveDirectoryA((root + dir).c_str());
  }
  DeleteFileA((root + "\\INSTALL.LOG").c_str());
  RemoveDirectoryA(root.c_str());
}

std::string ForeignName(int i) {
  char name[96];
  std::snprintf(name, sizeof name, "C:\\Program Files\\Other Product %03d\\LIB%04d.DLL", i / 50, i);
  return name;
}

// Counts of other products, as a machine with many installations has them.
bool SetForeignCounts(bool present) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kSharedDlls, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS) {
    return false;
  }
  bool ok = true;
  for (int i = 0; i < kForeignCounts; ++i) {
    const std::string name = ForeignName(i);
    const DWORD count = 1 + static_cast<DWORD>(i % 3);
    if (present) {
      ok = ok && RegSetValueExA(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&count),
                                sizeof count) == ERROR_SUCCESS;
    } else {
      (void)RegDeleteValueA(key, name.c_str());
    }
  }
  RegCloseKey(key);
  return ok;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// Rounds of engine and bare loop, alternately; false when the engine left files.
bool MeasureVariant(const char* title, int rounds, const std::string& root) {
  const std::string logPath = root + "\\INSTALL.LOG";
  std::vector<double> engine, bare, parse;
  double longestGap = 0;
  long pumps = 0;
  for (int round = 0; round < rounds; ++round) {
    if (!MakeTree(root) || !WriteLog(root, logPath)) {
      std::fprintf(stderr, "cannot make the test tree under %s\n", root.c_str());
      return false;
    }
    const EngineRun run = RunEngine(logPath);
    const int left = Leftovers(root);
    if (left != 0 || run.seconds == 0) {
      std::fprintf(stderr, "the engine left %d of %d files\n", left, kDirs * kFilesPerDir);
      RemoveTree(root);
      return false;
    }
    engine.push_back(run.seconds);
    parse.push_back(run.parseSeconds);
    longestGap = std::max(longestGap, run.longestGap);
    pumps = run.pumps;
    if (!MakeTree(root)) return false;
    bare.push_back(RunBareLoop(root));
    RemoveTree(root);
  }
  const double e = Median(engine), b = Median(bare);
  std::printf("%s\n", title);
  std::printf("  files: %d in %d directories, rounds: %d\n", kDirs * kFilesPerDir, kDirs, rounds);
  std::printf("  engine run (parse + RunUninstall, median): %.1f ms\n", e * 1000);
  std::printf("    of which reading the log (median):      %.1f ms\n", Median(parse) * 1000);
  std::printf("  bare DeleteFileA loop (median):           %.1f ms\n", b * 1000);
  std::printf("  ratio engine / bare loop:                 %.2f\n", e / b);
  std::printf("  pumps per run: %ld, longest gap between two pumps: %.2f ms\n", pumps, longestGap * 1000);
  return true;
}

int Main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::string base(temp);
  if (!base.empty() && base.back() == '\\') base.pop_back();
  const std::string root = base + "\\engine-speed-" + std::to_string(GetCurrentProcessId());

  if (!MeasureVariant("shared counts as the system has them", rounds, root)) return 1;
  if (!SetForeignCounts(true)) {
    std::fprintf(stderr, "cannot write the other products' counts\n");
    (void)SetForeignCounts(false);
    return 1;
  }
  const bool measured = MeasureVariant("with 5,000 shared counts of other products", rounds, root);
  (void)SetForeignCounts(false);
  return measured ? 0 : 1;
}

}  // namespace
}  // namespace scrubber

int main(int argc, char** argv) { return scrubber::Main(argc, argv); }
