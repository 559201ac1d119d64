// Speed of the add action's probes on the real system: the same run with
// one ping after the other and with the pings running ahead of the walk,
// side by side in one process, with the rows of both compared.
//
//   bench_probe_speed [--ping-dir DIR] [--computers N]
//       N selected computers that do not answer (default 64), pinged by the
//       ping.exe in DIR, else by the system's own (replaced by the stand-in
//       in the prefix that bench/wine/probe-speed makes); then as many that
//       answer at once, for what the process starts alone cost
//   bench_probe_speed --real
//       the system's real ping on loopback names, names under .invalid and
//       names the probe refuses
//
// The directory is an in-memory one, so the times are the probes' own.
// Exits with 1 when the two runs' rows differ.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "ConsoleBench.h"
#include "Win32ProcessRunner.h"
#include "Win32System.h"
#include "fake/FakeDirectory.h"
#include "fake/FakeDirectoryWorkers.h"
#include "fake/FakeUi.h"
#include "logic/Form1.h"
#include "logic/ProbeAhead.h"

namespace rosterly {
namespace {

TimedRun AddAction(const std::vector<std::string>& computers, const std::vector<std::string>& reachable,
                   Probe& probe, Win32FileStore& files, std::size_t inFlight) {
  Globals globals;
  globals.DomainName = "CORP";
  FakeDirectory dir;
  dir.AddDomain("CORP");
  dir.AddDomainGroup("CORP", "Helpdesk");
  for (const auto& name : reachable) {
    dir.AddComputer("CORP", name);
    dir.AddLocalGroup(name, "Administrators");
  }
  FakeMessageBoxes messages;
  FakeFileDialogs dialogs;
  FakeMainView view;
  FakeDirectoryWorkers workers(dir);  // at once: the times are the probes' own
  Form1 form(globals, ConsoleServices{dir, files, messages, dialogs, probe, workers}, view);
  form.SetProbesInFlight(inFlight);
  return TimeAddAction(form, computers, {"Helpdesk"});
}

int Compare(const char* what, const std::vector<std::string>& computers, const std::vector<std::string>& reachable,
            Probe& probe, Win32FileStore& files) {
  const TimedRun sequential = AddAction(computers, reachable, probe, files, 1);
  const TimedRun parallel = AddAction(computers, reachable, probe, files, kProbesInFlight);
  std::printf("%s, %zu computers: one ping after the other %.2f s, %zu in flight %.2f s, ratio %.3f (%.1f times "
              "faster)\n",
              what, computers.size(), sequential.seconds, kProbesInFlight, parallel.seconds,
              parallel.seconds / sequential.seconds, sequential.seconds / parallel.seconds);
  if (sequential.rows != parallel.rows) {
    std::printf("the rows differ:\n");
    for (const auto& row : sequential.rows) std::printf("  one by one: %s\n", row.c_str());
    for (const auto& row : parallel.rows) std::printf("  ahead:      %s\n", row.c_str());
    return 1;
  }
  std::printf("  rows identical (%zu)\n", sequential.rows.size());
  return 0;
}

int Main(int argc, char** argv) {
  std::string pingDir;
  std::size_t count = 64;
  bool real = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--ping-dir") == 0 && i + 1 < argc) {
      pingDir = argv[++i];
    } else if (std::strcmp(argv[i], "--computers") == 0 && i + 1 < argc) {
      count = std::strtoul(argv[++i], nullptr, 10);
    } else if (std::strcmp(argv[i], "--real") == 0) {
      real = true;
    } else {
      std::fprintf(stderr, "usage: bench_probe_speed [--ping-dir DIR] [--computers N] | --real\n");
      return 2;
    }
  }
  Win32ProcessRunner runner;
  PingFolder environment(pingDir);
  Win32FileStore files;
  Probe probe(runner, environment, files);
  const std::string ping = environment.SystemDirectory().value() + "\\ping.exe";

  if (real) {
    const std::vector<std::string> reachable = {"localhost", "127.0.0.2", "127.0.0.3"};
    std::vector<std::string> computers = reachable;
    for (int i = 0; i < 8; ++i) computers.push_back("ghost" + std::to_string(i) + ".invalid");
    for (const char* odd : {"pc$1.invalid", "r\xE9seau.invalid", "bad name", "-t"}) computers.push_back(odd);
    return Compare("real ping, loopback, .invalid and refused names", computers, reachable, probe, files);
  }
  std::vector<std::string> computers;
  for (std::size_t i = 0; i < count; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "offline%03zu", i);
    computers.push_back(name);
  }
  std::printf("ping: %s\n", ping.c_str());
  int rc = Compare("add action, computers that do not answer", computers, {}, probe, files);
  // The same number of pings that answer at once (the stand-in answers
  // names starting "up"): what starting the processes alone costs here.
  for (auto& name : computers) name = "up" + name;
  rc |= Compare("process starts alone, computers that answer at once", computers, {}, probe, files);
  return rc;
}

}  // namespace
}  // namespace rosterly

int main(int argc, char** argv) { return rosterly::Main(argc, argv); }
