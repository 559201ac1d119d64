// SampleSetup: installs the sample product that a description names into the
// running system and writes INSTALL.LOG for the uninstaller, so that a test
// can compare the system before the installation and after the uninstall.
//
//   SampleSetup.exe DESCRIPTION [--upgrade] [--fixtures DIR]
//   SampleSetup.exe DESCRIPTION --prepare [--fixtures DIR]
//
// --upgrade appends a further installation to an existing log; --prepare
// makes only the "given" lines, the state the installation expects to find
// (left by another product). --fixtures sets %FIXTURES%, the directory of
// the programs the sample installs. Exit code 0 on success, 1 on a failed
// step (the log then holds what was done), 2 on a bad command line.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <map>

#include "Actions.h"
#include "Description.h"
#include "ProgmanConversation.h"
#include "Win32Support.h"

namespace sample {
namespace {

struct Options {
  std::string description;
  bool upgrade = false;
  bool prepare = false;
  Variables variables;
};

bool ReadOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--upgrade") == 0) options.upgrade = true;
    else if (std::strcmp(argv[i], "--prepare") == 0) options.prepare = true;
    else if (std::strcmp(argv[i], "--fixtures") == 0 && i + 1 < argc) options.variables["FIXTURES"] = argv[++i];
    else if (options.description.empty() && argv[i][0] != '-') options.description = argv[i];
    else return false;
  }
  return !options.description.empty() && !(options.upgrade && options.prepare);
}

void AddSystemDirectories(Variables& variables) {
  char path[MAX_PATH] = {};
  variables["WINDIR"] = std::string(path, GetWindowsDirectoryA(path, MAX_PATH));
  variables["SYSDIR"] = std::string(path, GetSystemDirectoryA(path, MAX_PATH));
}

std::string Now() {
  SYSTEMTIME time{};
  GetLocalTime(&time);
  char text[32];
  std::snprintf(text, sizeof text, "%02u/%02u/%04u %02u:%02u:%02u", time.wMonth, time.wDay, time.wYear, time.wHour,
                time.wMinute, time.wSecond);
  return text;
}

// The header lines of the description: the log's header and its path.
bool TakeHeader(const Step& step, LogHeader& header, std::string& logPath) {
  static const std::map<std::string, std::string LogHeader::*> kFields = {
      {"title", &LogHeader::title},       {"mif", &LogHeader::mif},         {"manufacturer", &LogHeader::manufacturer},
      {"product", &LogHeader::product},   {"version", &LogHeader::version}, {"serial", &LogHeader::serial}};
  const std::string value = step.fields.empty() ? "" : step.fields[0];
  if (step.keyword == "log") {
    logPath = value;
    return true;
  }
  auto field = kFields.find(step.keyword);
  if (field == kFields.end()) return false;
  header.*(field->second) = value;
  return true;
}

Status RunStep(Context& context, const Step& step) {
  const Action* action = FindAction(step.keyword);
  Status status = Status::Ok();
  if (!action) {
    status = Status::Fail("unknown keyword \"" + step.keyword + "\"");
  } else if (step.fields.size() < action->minFields || step.fields.size() > action->maxFields) {
    status = Status::Fail("usage: " + step.keyword + " " + std::string(action->usage));
  } else if (step.given && action->records) {
    status = Status::Fail("\"" + step.keyword + "\" is recorded in the log and cannot be given");
  } else {
    status = action->run(context, step.fields);
  }
  return status.ok() ? status : Status::Fail("line " + std::to_string(step.line) + ": " + status.why());
}

void PrintSummary(const InstallLog& log) {
  int total = 0;
  std::printf("Items logged:\n");
  for (const auto& [kind, count] : log.counts()) {
    std::printf("  %-30s %4d\n", kind.c_str(), count);
    total += count;
  }
  std::printf("  %-30s %4d\n", "total", total);
}

Status Prepare(const std::vector<Step>& steps) {
  Context context(nullptr);
  for (const Step& step : steps) {
    if (!step.given) continue;
    if (Status done = RunStep(context, step); !done.ok()) return done;
  }
  return Status::Ok();
}

Status Install(const std::vector<Step>& steps, bool upgrade) {
  LogHeader header;
  header.started = Now();
  std::string logPath;
  std::vector<const Step*> actions;
  for (const Step& step : steps) {
    if (!TakeHeader(step, header, logPath) && !step.given) actions.push_back(&step);
  }
  if (logPath.empty() || header.title.empty()) return Status::Fail("the description names no log or no title");
  if (upgrade != FileExists(logPath)) {
    return Status::Fail(upgrade ? "no installation to upgrade at " + logPath : logPath + " exists: use --upgrade");
  }
  InstallLog log(header);
  Context context(&log);
  Status result = Status::Ok();
  for (const Step* step : actions) {
    result = RunStep(context, *step);
    if (!result.ok()) break;
  }
  context.progman.reset();
  // What was done is logged even after a failure, so that it can be undone.
  std::string text;
  if (upgrade) {
    if (Status read = ReadBytes(logPath, text); !read.ok()) return read;
  }
  if (Status written = WriteBytes(logPath, text + log.text()); !written.ok()) return written;
  PrintSummary(log);
  return result;
}

}  // namespace
}  // namespace sample

int main(int argc, char** argv) {
  using namespace sample;
  Options options;
  if (!ReadOptions(argc, argv, options)) {
    std::fprintf(stderr, "usage: SampleSetup DESCRIPTION [--upgrade | --prepare] [--fixtures DIR]\n");
    return 2;
  }
  AddSystemDirectories(options.variables);
  std::string text;
  std::vector<Step> steps;
  Status done = ReadBytes(options.description, text);
  if (done.ok()) done = ReadDescription(text, options.variables, steps);
  if (done.ok()) done = options.prepare ? Prepare(steps) : Install(steps, options.upgrade);
  if (!done.ok()) {
    std::fprintf(stderr, "SampleSetup: %s\n", done.why().c_str());
    return 1;
  }
  return 0;
}
