// The probe with the real ping: loopback names answer, names under the
// reserved .invalid domain do not. No traffic leaves this machine. A ping
// stand-in (fixtures/) shows what no real computer can be made to do on
// demand: hang, or echo the name it was given.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <cstdio>

#include "logic/Probe.h"
#include "Win32ProcessRunner.h"
#include "Win32System.h"

namespace rosterly {
namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The system folder is the stand-in's: its ping.exe is the one probed.
class StandInEnvironment : public Win32Environment {
 public:
  Result<std::string> SystemDirectory() override {
    std::string dir = std::string("Z:") + ROSTERLY_STANDIN_DIR;
    for (char& c : dir)
      if (c == '/') c = '\\';
    return dir;
  }
};

// Files of this process's probes left in TEMP, besides "RunResult.tmp".
int LeftOverOutputs(Environment& environment) {
  const std::string pattern = environment.TempDirectory().value() + "\\RunResult-" +
                              std::to_string(GetCurrentProcessId()) + "-*.tmp";
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  int count = 0;
  do ++count;
  while (FindNextFileA(search, &found));
  FindClose(search);
  return count;
}

class RealProbe : public ::testing::Test {
 protected:
  Win32ProcessRunner runner_;
  Win32Environment environment_;
  Win32FileStore files_;
  Probe probe_{runner_, environment_, files_};
};

TEST_F(RealProbe, LoopbackAnswersAndAnInvalidNameDoesNot) {
  Result<bool> local = probe_.IsConnectible("localhost", 1, 750);
  ASSERT_TRUE(local.ok()) << local.status().description();
  EXPECT_TRUE(local.value());
  Result<bool> loop = probe_.IsConnectible("127.0.0.2", 1, 750);
  ASSERT_TRUE(loop.ok()) << loop.status().description();
  EXPECT_TRUE(loop.value());
  Result<bool> ghost = probe_.IsConnectible("ghost.invalid", 1, 750);
  ASSERT_TRUE(ghost.ok()) << ghost.status().description();
  EXPECT_FALSE(ghost.value());
  // The last output stays for the administrator to look at; nothing else.
  Result<std::string> output = probe_.OutputPath();
  ASSERT_TRUE(output.ok());
  EXPECT_THAT(files_.ReadWholeFile(output.value()).value(), ::testing::HasSubstr("ghost.invalid"));
  EXPECT_EQ(LeftOverOutputs(environment_), 0);
}

class StandInProbe : public ::testing::Test {
 protected:
  Win32ProcessRunner runner_;
  StandInEnvironment environment_;
  Win32FileStore files_;
  static constexpr std::uint32_t kShortMarginMs = 500;
  Probe probe_{runner_, environment_, files_, kShortMarginMs};
};

// Names a plain-letters rule used to refuse reach ping as one argument,
// exactly as written; only what could not be passed safely is refused.
TEST_F(StandInProbe, UnusualNamesArePingedAsWrittenAndUnsafeOnesRefused) {
  for (const std::string name : {"up$", "up!~'", "up\xC9QUIPE", "up&calc", "up%COMSPEC%", "up\\x\\"}) {
    Result<bool> r = probe_.IsConnectible(name, 1, 750);
    ASSERT_TRUE(r.ok()) << name << ": " << r.status().description();
    EXPECT_TRUE(r.value()) << name;
    EXPECT_THAT(files_.ReadWholeFile(probe_.OutputPath().value()).value(), ::testing::HasSubstr("[" + name + "]"));
  }
  for (const char* name : {"pc 1", "-t", "/t", "\"q\"", "a\tb", ""}) {
    Result<bool> r = probe_.IsConnectible(name, 1, 750);
    EXPECT_FALSE(r.ok()) << name;
  }
  EXPECT_EQ(LeftOverOutputs(environment_), 0);
}

// A ping that never ends costs its requests' timeouts plus the margin, is
// ended, and counts as no answer.
TEST_F(StandInProbe, AHungPingIsEndedAndGivesNoAnswer) {
  const auto start = Clock::now();
  Result<bool> r = probe_.IsConnectible("hang.example", 1, 750);
  const double ms = MsSince(start);
  ASSERT_TRUE(r.ok()) << r.status().description();
  EXPECT_FALSE(r.value());
  EXPECT_GE(ms, 750 + kShortMarginMs - 50);
  EXPECT_LT(ms, 10000);
  EXPECT_EQ(LeftOverOutputs(environment_), 0);
}

// The output file is the one handle a started program gets: a file this
// process holds open, inheritably, is not held by the program too.
TEST_F(StandInProbe, TheProgramInheritsNoOtherHandle) {
  const std::string held = environment_.TempDirectory().value() + "\\rosterly-held.tmp";
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  HANDLE file = CreateFileA(held.c_str(), GENERIC_WRITE, 0, &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  const std::string out = environment_.TempDirectory().value() + "\\rosterly-hang.tmp";
  const std::vector<std::string> args = {"-n", "1", "-w", "750", "hang.example"};
  auto program = runner_.Start(environment_.SystemDirectory().value() + "\\ping.exe", args, out);
  ASSERT_TRUE(program.ok()) << program.status().description();
  CloseHandle(file);
  // Only a copy in the program could keep the file from going.
  EXPECT_TRUE(DeleteFileA(held.c_str())) << GetLastError();
  program.value()->End();
  Result<bool> ended = program.value()->WaitForExit(0);
  EXPECT_TRUE(ended.ok() && ended.value());
  EXPECT_TRUE(DeleteFileA(out.c_str())) << GetLastError();
  DeleteFileA(held.c_str());
}

// Figures, not assertions: the probe's own cost (start of ping and reading
// its output) beside ping's wait for an answer.
TEST_F(RealProbe, PrintsTheProbesOwnCostBesidePingsWait) {
  auto timeOf = [&](const char* host, int rounds) {
    const auto start = Clock::now();
    for (int i = 0; i < rounds; ++i) (void)probe_.IsConnectible(host, 1, 750);
    return MsSince(start) / rounds;
  };
  const double local = timeOf("localhost", 10), ghost = timeOf("ghost.invalid", 3);
  // A program that ends at once: the process start and file handling alone.
  Result<std::string> system = environment_.SystemDirectory();
  ASSERT_TRUE(system.ok());
  const std::string program = system.value() + "\\hostname.exe";
  const std::string out = environment_.TempDirectory().value() + "\\probe-cost.tmp";
  const auto start = Clock::now();
  for (int i = 0; i < 10; ++i) {
    auto run = runner_.Start(program, {}, out);
    ASSERT_TRUE(run.ok()) << run.status().description();
    ASSERT_TRUE(run.value()->WaitForExit(30000).value());
    ASSERT_TRUE(files_.ReadWholeFile(out).ok());
  }
  const double own = MsSince(start) / 10;
  (void)files_.RemoveFile(out);
  std::printf("probe: %.1f ms per reachable computer, %.1f ms per unreachable one; "
              "process start + output read alone %.1f ms\n", local, ghost, own);
}

}  // namespace
}  // namespace rosterly
