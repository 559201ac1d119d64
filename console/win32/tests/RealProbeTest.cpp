// The probe with the real ping: loopback names answer, names under the
// reserved .invalid domain do not. No traffic leaves this machine.
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
  // The output stays for the administrator to look at.
  Result<std::string> output = probe_.OutputPath();
  ASSERT_TRUE(output.ok());
  EXPECT_TRUE(files_.FileExists(output.value()));
}

TEST_F(RealProbe, NamesThatCouldReachAShellAreRefusedBeforeAnythingRuns) {
  for (const char* name : {"a&calc", "pc1 >x", "-t", "a|b", "\"q\""}) {
    Result<bool> r = probe_.IsConnectible(name, 1, 750);
    EXPECT_FALSE(r.ok()) << name;
  }
}

// Figures, not assertions: the probe's own cost (start of ping and reading
// its output) beside ping's wait for an answer.
TEST_F(RealProbe, PrintsTheProbesOwnCostBesidePingsWait) {
  using Clock = std::chrono::steady_clock;
  auto timeOf = [&](const char* host, int rounds) {
    const auto start = Clock::now();
    for (int i = 0; i < rounds; ++i) (void)probe_.IsConnectible(host, 1, 750);
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count() / rounds;
  };
  const double local = timeOf("localhost", 10), ghost = timeOf("ghost.invalid", 3);
  // A program that ends at once: the process start and file handling alone.
  Result<std::string> system = environment_.SystemDirectory();
  ASSERT_TRUE(system.ok());
  const std::string program = system.value() + "\\hostname.exe";
  const std::string out = environment_.TempDirectory().value() + "\\probe-cost.tmp";
  const auto start = Clock::now();
  for (int i = 0; i < 10; ++i) {
    Status run = runner_.RunHidden(program, {}, out);
    ASSERT_TRUE(run.ok()) << run.description();
    ASSERT_TRUE(files_.ReadWholeFile(out).ok());
  }
  const double own = std::chrono::duration<double, std::milli>(Clock::now() - start).count() / 10;
  std::printf("probe: %.1f ms per reachable computer, %.1f ms per unreachable one; "
              "process start + output read alone %.1f ms\n", local, ghost, own);
}

}  // namespace
}  // namespace rosterly
