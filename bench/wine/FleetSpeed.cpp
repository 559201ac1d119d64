// Speed of the add action over a fleet, on the real system: the same run
// with one computer's directory work after the other and side by side, in
// one process, with the rows of both compared.
//
//   bench_fleet_speed [--ping-dir DIR] [--computers N] [--off K] [--hang H]
//                     [--hang-ms MS] [--latency-ms L] [--rounds R]
//                     [--workers W] [--baseline no]
//
// N selected computers (default 256) behind the test directory, pinged
// by the stand-in ping.exe in DIR: K of them do not answer ping (16), H
// answer ping but every bind of them hangs MS (3000) and fails (8), the
// rest answer every directory call after L (50) ms, and so does the domain.
// The add action with two groups, one computer after the other and W
// (the program's own number) side by side; every run starts from the same
// fixture. "--baseline no" leaves out the first, to try other W quickly.
// Exits with 1 when the runs' rows differ.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "AdsiDirectory.h"
#include "ConsoleBench.h"
#include "TestDirSession.h"
#include "Win32DirectoryWorkers.h"
#include "Win32Dialogs.h"
#include "Win32ProcessRunner.h"
#include "logic/ComputerPipeline.h"
#include "logic/Form1.h"

namespace rosterly {
namespace {

// What the window does, without a window: the thread's queue is pumped, and
// a worker's wake is a message posted to the thread.
class ThreadView : public MainView {
 public:
  void StatusTextChanged() override {}
  void ListChanged(ListId) override {}
  void LocalGroupFieldChanged() override {}
  void GridChanged() override {}
  void TimerChanged() override {}
  void CommandsChanged() override {}
  void SetBusyPointer(bool) override {}
  void ProcessPendingEvents() override {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  }
  void WaitForEvents() override {
    MsgWaitForMultipleObjectsEx(0, nullptr, 250, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    ProcessPendingEvents();
  }
  std::function<void()> Waker() override {
    const DWORD thread = GetCurrentThreadId();
    return [thread] { PostThreadMessageA(thread, WM_NULL, 0, 0); };
  }
};

struct Fleet {
  std::size_t computers = 256, off = 16, hang = 8;
  unsigned hangMs = 3000, latencyMs = 50;

  // Every kind spread through the list; the stand-in ping answers names
  // starting "up" at once and lets the others wait out their 750 ms.
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < computers; ++i) {
      char name[32];
      std::snprintf(name, sizeof name, "%s%03zu", IsOff(i) ? "down" : "up", i);
      names.push_back(name);
    }
    return names;
  }
  bool IsOff(std::size_t i) const { return off && i % (computers / off) == computers / off / 2 && i / (computers / off) < off; }
  bool Hangs(std::size_t i) const { return hang && i % (computers / hang) == 0 && i / (computers / hang) < hang; }

  std::string Text() const {
    std::string text = "domain | FLEET\ngroup | FLEET | G1\ngroup | FLEET | G2\n";
    text += "latency | FLEET | " + std::to_string(latencyMs) + "\n";
    const std::vector<std::string> names = Names();
    for (std::size_t i = 0; i < names.size(); ++i) {
      text += "computer | FLEET | " + names[i] + " | reachable\nlocalgroup | " + names[i] + " | Administrators\n";
      if (Hangs(i) && !IsOff(i))
        text += "hang | " + names[i] + " | " + std::to_string(hangMs) + "\n";
      else
        text += "latency | " + names[i] + " | " + std::to_string(latencyMs) + "\n";
    }
    return text;
  }
};

TimedRun AddAction(const Fleet& fleet, const testing::FixtureFile& fixture, Probe& probe, std::size_t workers) {
  fixture.Write(fleet.Text());
  Globals globals;
  globals.DomainName = "FLEET";
  AdsiDirectory directory;
  Win32FileStore files;
  Win32MessageBoxes messages;
  Win32FileDialogs dialogs;
  Win32DirectoryWorkers threads;
  ThreadView view;
  Form1 form(globals, ConsoleServices{directory, files, messages, dialogs, probe, threads}, view);
  form.SetWorkersInFlight(workers);
  return TimeAddAction(form, fleet.Names(), {"G1", "G2"});
}

int Main(int argc, char** argv) {
  Fleet fleet;
  std::string pingDir;
  int rounds = 1;
  std::size_t workers = kDirectoryWorkers;
  bool baseline = true;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    const char* value = argv[i + 1];
    if (option == "--ping-dir") pingDir = value;
    else if (option == "--computers") fleet.computers = std::strtoul(value, nullptr, 10);
    else if (option == "--off") fleet.off = std::strtoul(value, nullptr, 10);
    else if (option == "--hang") fleet.hang = std::strtoul(value, nullptr, 10);
    else if (option == "--hang-ms") fleet.hangMs = static_cast<unsigned>(std::strtoul(value, nullptr, 10));
    else if (option == "--latency-ms") fleet.latencyMs = static_cast<unsigned>(std::strtoul(value, nullptr, 10));
    else if (option == "--rounds") rounds = std::atoi(value);
    else if (option == "--workers") workers = std::strtoul(value, nullptr, 10);
    else if (option == "--baseline") baseline = std::strcmp(value, "no") != 0;
    else {
      std::fprintf(stderr, "bench_fleet_speed: unknown option %s\n", option.c_str());
      return 2;
    }
  }
  if (fleet.computers == 0 || (fleet.off && fleet.computers / fleet.off == 0) ||
      (fleet.hang && fleet.computers / fleet.hang == 0)) {
    std::fprintf(stderr, "usage: bench_fleet_speed [--ping-dir DIR] [--computers N] [--off K] [--hang H] "
                         "[--hang-ms MS] [--latency-ms L] [--rounds R] [--workers W] [--baseline no]\n");
    return 2;
  }
  const testing::FixtureFile fixture(fleet.Text());
  if (!testing::StartTestDirectory()) {
    std::fprintf(stderr, "bench_fleet_speed: cannot set up the test directory\n");
    return 2;
  }
  int rc = 0;
  {
    Win32ProcessRunner runner;
    PingFolder environment(pingDir);
    Win32FileStore files;
    Probe probe(runner, environment, files);
    std::printf("%zu computers: %zu do not answer ping, %zu hang %u ms and fail, the rest and the domain answer "
                "each directory call after %u ms; two groups\n",
                fleet.computers, fleet.off, fleet.hang, fleet.hangMs, fleet.latencyMs);
    for (int round = 0; round < rounds; ++round) {
      const TimedRun many = AddAction(fleet, fixture, probe, workers);
      if (!baseline) {
        std::printf("round %d: %zu side by side %.2f s\n", round + 1, workers, many.seconds);
        continue;
      }
      const TimedRun one = AddAction(fleet, fixture, probe, 1);
      std::printf("round %d: one after the other %.2f s, %zu side by side %.2f s: %.3f of the time (%.1f times "
                  "faster)\n",
                  round + 1, one.seconds, workers, many.seconds, many.seconds / one.seconds,
                  one.seconds / many.seconds);
      if (one.rows != many.rows) {
        std::printf("the rows differ:\n");
        for (const auto& row : one.rows) std::printf("  one by one:   %s\n", row.c_str());
        for (const auto& row : many.rows) std::printf("  side by side: %s\n", row.c_str());
        rc = 1;
      } else {
        std::printf("  rows identical (%zu)\n", one.rows.size());
      }
    }
  }
  return rc;
}

}  // namespace
}  // namespace rosterly

int main(int argc, char** argv) { return rosterly::Main(argc, argv); }
