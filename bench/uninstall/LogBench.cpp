// Reading a large installation log: 4,096 records of every list the model
// bounds, and four times as many, beside a plain line-by-line read of the
// same bytes. The parse must grow about linearly with the log: the lists
// stop at 4,096 records, so their merge searches stop growing too.
#include <benchmark/benchmark.h>

#include <memory>
#include <sstream>
#include <string>
#include <unordered_set>

#include "FakeRegistry.h"
#include "FakeSystem.h"
#include "LineReader.h"
#include "ParseInstallLog.h"
#include "PathText.h"

namespace scrubber {
namespace {

constexpr int kPerList = 4096;
constexpr char kLogPath[] = "C:\\LOGS\\INSTALL.LOG";

class SilentUi final : public ParseUi {
 public:
  void ShowMessage(int, int, std::string_view, std::string_view) override {}
  void SetMainTitle(std::string_view) override {}
};

std::string Upper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = AsciiUpper(c);
  return upper;
}

// Answers the reader's questions from hash tables, so that the figures are
// the reader's own: which files exist and which INI entries hold a value.
class IndexedFiles final : public FileSystem {
 public:
  std::unordered_set<std::string> existing;  // upper case
  std::string log;

  std::optional<std::uint32_t> GetAttributes(std::string_view path) override {
    if (existing.count(Upper(path))) return kAttrArchive;
    return std::nullopt;
  }
  Status SetAttributes(std::string_view, std::uint32_t) override { return Status::Ok(); }
  std::unique_ptr<DirScan> FindFirst(std::string_view) override { return nullptr; }
  Status EraseFile(std::string_view) override { return Status::Ok(); }
  Status MakeDir(std::string_view) override { return Status::Ok(); }
  Status RemoveDir(std::string_view) override { return Status::Ok(); }
  Status CopyOver(std::string_view, std::string_view) override { return Status::Ok(); }
  Status MoveFileAtRestart(std::string_view, std::string_view, bool) override { return Status::Ok(); }
  std::optional<std::string> ReadWholeFile(std::string_view) override { return log; }
  Status WriteWholeFile(std::string_view, std::string_view) override { return Status::Ok(); }
  std::unique_ptr<FileReader> OpenForReading(std::string_view) override { return std::make_unique<MemoryReader>(log); }
  std::unique_ptr<FileWriter> CreateForWriting(std::string_view) override { return nullptr; }
  Status TruncateFile(std::string_view, std::uint64_t) override { return Status::Ok(); }
  Status RenameFile(std::string_view, std::string_view) override { return Status::Ok(); }
  std::optional<FileIdentity> IdentityOf(std::string_view) override { return std::nullopt; }
  std::string WindowsDirectory() override { return "C:\\WINDOWS"; }
  std::string SystemDirectory() override { return "C:\\WINDOWS\\SYSTEM32"; }
  std::vector<std::string> SharedFolders() override { return {}; }
  std::string CurrentDirectory() override { return "C:\\"; }
  Status ChangeCurrentDirectory(std::string_view) override { return Status::Ok(); }
  std::string TempDirectory() override { return "C:\\TEMP"; }
  DriveType DriveTypeOf(std::string_view) override { return DriveType::Fixed; }
  LeadBytes CodePageLeadBytes() override { return {}; }
};

class IndexedProfile final : public Profile {
 public:
  std::unordered_set<std::string> filled;  // upper-case "file|section|key"
  std::string ReadString(std::string_view file, std::string_view section, std::string_view key,
                         std::string_view fallback, std::size_t) override {
    const std::string id = Upper(file) + "|" + Upper(section) + "|" + Upper(key);
    return filled.count(id) ? "1" : std::string(fallback);
  }
  Status WriteString(std::string_view file, std::string_view section, std::string_view key,
                     std::optional<std::string_view>) override {
    filled.insert(Upper(file) + "|" + Upper(section) + "|" + Upper(key));
    return Status::Ok();
  }
};

// The log's paths are written in their long form already.
class SamePathNames final : public PathNames {
 public:
  std::string Long(std::string_view path) override { return std::string(path); }
  std::string Short(std::string_view path) override { return std::string(path); }
};

// One record of every kind per step; `scale` times 4,096 steps.
std::string MakeLog(int scale, IndexedFiles& fs, IndexedProfile& profile) {
  std::string log = "***  Installation\r\nTitle: Benchmark Installation\r\n";
  for (int i = 0; i < kPerList * scale; ++i) {
    const std::string n = std::to_string(i);
    const std::string file = "C:\\APP\\F" + n + ".DAT";
    const std::string sys = "C:\\WINDOWS\\SYSTEM32\\S" + n + ".DLL";
    const std::string ini = "C:\\APP\\INI\\I" + n + ".INI";
    fs.existing.insert(Upper(file));
    fs.existing.insert(Upper(sys));
    fs.existing.insert(Upper(ini));
    profile.WriteString(ini, "Main", "Key", "1");
    log += "File Copy: " + file + "\r\n";
    log += "File Copy: " + sys + "\r\n";
    log += "Made Dir: C:\\D" + n + "\r\n";
    log += "INI New: 1\r\nINI File: " + ini + "\r\n";
    log += "INI File: " + ini + "\r\nINI Sect: Main\r\nINI Item: Key\r\nINI Val: 1\r\nINI Old: 0\r\n";
    log += "RegDB Key: Software\\Bench\\K" + n + "\r\nRegDB Val: 1\r\nRegDB Root: 2\r\n";
    log += "RegDB Tree: Software\\Bench\\T" + n + "\r\nRegDB Root: 1\r\n";
    log += "RegDB Key: Software\\Bench\\E" + n + "\r\nRegDB Val: 1\r\nRegDB Old: a\r\nRegDB Old: b\r\n";
    log += "Icon Group: Bench\r\nIcon Name: Icon " + n + "\r\nIcon Cmd: C:\\APP\\A.EXE\r\n";
    log += "Execute Path: C:\\APP\\RUN.EXE " + n + "\r\nExecute Name: Run " + n + "\r\n";
    log += "Create Service: Service" + n + "\r\n";
    log += "File Edit: " + file + "\r\nBackup Copy: C:\\APP\\BACKUP\\F" + n + ".DAT\r\n";
  }
  return log;
}

struct Scene {
  explicit Scene(int scale) {
    log = MakeLog(scale, fs, profile);
    fs.log = log;
  }
  IndexedFiles fs;
  IndexedProfile profile;
  FakeRegistry registry;
  FakeSystem system;
  std::string log;
};

std::size_t CountLines(const std::string& log) {
  std::size_t lines = 0;
  for (char c : log) lines += c == '\r';
  return lines;
}

// The baseline: the same bytes split into lines with the standard library.
void BM_PlainLineRead(benchmark::State& state) {
  Scene scene(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    std::istringstream in(scene.log);
    std::string line;
    std::size_t lines = 0;
    while (std::getline(in, line, '\r')) lines += line.size() > 1;
    benchmark::DoNotOptimize(lines);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * scene.log.size()));
  state.counters["lines"] = static_cast<double>(CountLines(scene.log));
}

// The log reader's own line splitting, through the fake file's 1024-byte reads.
void BM_LineReader(benchmark::State& state) {
  Scene scene(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    auto file = scene.fs.OpenForReading(kLogPath);
    LineReader reader(*file);
    std::size_t lines = 0;
    while (reader.Next()) ++lines;
    benchmark::DoNotOptimize(lines);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * scene.log.size()));
}

void BM_ParseInstallLog(benchmark::State& state) {
  Scene scene(static_cast<int>(state.range(0)));
  SamePathNames paths;
  BuiltinStringTable table;
  MsgStrings strings(scene.profile, "C:\\SCRUB\\UNINST.INI", table);
  SilentUi ui;
  Globals globals;
  ParseEnvironment env{scene.fs, scene.profile, scene.registry, scene.system, paths, strings, ui, globals, {}};
  UninstallModel model;
  for (auto _ : state) {
    if (ParseInstallLog(env, kLogPath, model) != 0) state.SkipWithError("log rejected");
    benchmark::DoNotOptimize(model.PrivateFiles.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * scene.log.size()));
  state.counters["records"] = static_cast<double>(
      model.PrivateFiles.size() + model.SystemFiles.size() + model.Directories.size() + model.IniFiles.size() +
      model.IniEntries.size() + model.RegKeys.size() + model.RegTrees.size() + model.RegEdits.size() +
      model.Icons.size() + model.ExternalPrograms.size() + model.Services.size() + model.EditedFiles.size());
}

BENCHMARK(BM_PlainLineRead)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LineReader)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseInstallLog)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace scrubber
