#include <gtest/gtest.h>

#include "fake/FakeFiles.h"
#include "fake/FakeProcess.h"
#include "logic/Probe.h"

namespace rosterly {
namespace {

class ProbeTest : public ::testing::Test {
 protected:
  FakeFileStore files;
  FakeProcessRunner runner{files};
  FakeEnvironment environment;
  Probe probe{runner, environment, files};
};

constexpr char kLastOutput[] = "C:\\Users\\admin\\AppData\\Local\\Temp\\RunResult.tmp";

TEST_F(ProbeTest, RunsPingDirectlyAndAnswersByTheTtlMarker) {
  runner.SetReachable("PC1");
  Result<bool> r = probe.IsConnectible("PC1", 1, 750);
  ASSERT_TRUE(r.ok());
  EXPECT_TRUE(r.value());
  ASSERT_EQ(runner.Calls().size(), 1u);
  const auto& call = runner.Calls()[0];
  EXPECT_EQ(call.program, "C:\\Windows\\system32\\ping.exe");
  EXPECT_EQ(call.arguments, (std::vector<std::string>{"-n", "1", "-w", "750", "PC1"}));
  EXPECT_EQ(call.outputFile, "C:\\Users\\admin\\AppData\\Local\\Temp\\RunResult-4242-1.tmp");

  Result<bool> gone = probe.IsConnectible("PC9", 1, 750);
  ASSERT_TRUE(gone.ok());
  EXPECT_FALSE(gone.value());
}

// Every probe's own file goes; the last output stays as "RunResult.tmp".
TEST_F(ProbeTest, OnlyTheLastOutputStaysBehind) {
  runner.SetReachable("PC1");
  for (const char* host : {"PC1", "PC2", "PC1"}) (void)probe.IsConnectible(host, 1, 750);
  (void)probe.IsConnectible("PC 3", 1, 750);  // refused: runs nothing, leaves nothing
  ASSERT_EQ(files.files.size(), 1u);
  EXPECT_EQ(files.files.begin()->first, kLastOutput);
  EXPECT_EQ(files.files.begin()->second, FakeProcessRunner::ReplyOutput("PC1"));
  EXPECT_EQ(probe.OutputPath().value(), kLastOutput);

  // Another console reading it: the output cannot take its place, and goes.
  files.FailMoveTo(kLastOutput, FakeFileStore::Denied());
  EXPECT_FALSE(probe.IsConnectible("PC2", 1, 750).value());
  EXPECT_EQ(files.files.size(), 1u);
  EXPECT_EQ(files.files.begin()->second, FakeProcessRunner::ReplyOutput("PC1"));
}

// A ping that does not end within its requests' timeouts and the margin is
// ended and counts as no answer.
TEST_F(ProbeTest, AHungPingIsEndedAndGivesNoAnswer) {
  runner.Hang("PC1");
  Result<bool> r = probe.IsConnectible("PC1", 2, 750);
  ASSERT_TRUE(r.ok());
  EXPECT_FALSE(r.value());
  ASSERT_EQ(runner.Waits().size(), 1u);
  EXPECT_LE(runner.Waits()[0], 2 * 750 + kProbeMarginMs);
  EXPECT_GE(runner.Waits()[0], 2 * 750 + kProbeMarginMs - 1000);
  EXPECT_EQ(runner.Ended(), 1);
  EXPECT_EQ(runner.Running(), 0);
  EXPECT_EQ(files.files.size(), 1u);
}

TEST_F(ProbeTest, OnlyTheUpperCaseMarkerCounts) {
  runner.SetOutput("PC1", "Reply from 10.0.0.1: bytes=32 time<1ms ttl=128\r\n");
  runner.SetOutput("PC2", "");
  runner.SetOutput("PC3", "Destination host unreachable.TTL=");
  EXPECT_FALSE(probe.IsConnectible("PC1", 1, 750).value());
  EXPECT_FALSE(probe.IsConnectible("PC2", 1, 750).value());  // empty output: not reachable
  EXPECT_TRUE(probe.IsConnectible("PC3", 1, 750).value());
}

TEST_F(ProbeTest, EmptyTextCountsMeanTwoRequestsAnd750Ms) {
  (void)probe.IsConnectible("PC1", "", "");
  (void)probe.IsConnectible("PC1", "3", std::string("1000"));
  ASSERT_EQ(runner.Calls().size(), 2u);
  EXPECT_EQ(runner.Calls()[0].arguments, (std::vector<std::string>{"-n", "2", "-w", "750", "PC1"}));
  EXPECT_EQ(runner.Calls()[1].arguments, (std::vector<std::string>{"-n", "3", "-w", "1000", "PC1"}));
}

// Only what cannot be passed to ping as one safe argument is refused: no
// shell reads the name, so shell characters are harmless.
TEST_F(ProbeTest, NamesThatCannotBePassedSafelyNeverReachAProgram) {
  const std::vector<std::string> refused = {"PC 1", "PC1\t", "PC1\r\n", "PC1\n&calc", std::string("PC1\0x", 5),
                                            "-t", "-n", "/t", "", "\"PC1\"", "PC1\x7F", " PC1"};
  for (const auto& name : refused) {
    Result<bool> r = probe.IsConnectible(name, 1, 750);
    EXPECT_FALSE(r.ok()) << name;
  }
  for (const LooseValue& bad : {LooseValue("1 & calc"), LooseValue("-1"), LooseValue(-1), LooseValue("1e3"),
                                LooseValue(" 2"), LooseValue(5000000000LL)}) {
    EXPECT_FALSE(probe.IsConnectible("PC1", bad, 750).ok());
    EXPECT_FALSE(probe.IsConnectible("PC1", 1, bad).ok());
  }
  EXPECT_TRUE(runner.Calls().empty());
}

TEST_F(ProbeTest, LegitimateNamesArePinged) {
  const std::vector<std::string> names = {"PC1", "web-01.corp.example", "10.1.2.3", "SRV_DB", "R\xC9SEAU", "PC$",
                                          "HR!", "A~1", "O'BRIEN", "PC1&calc", "%COMSPEC%", std::string(300, 'a')};
  for (const auto& name : names) {
    EXPECT_TRUE(IsPassableHostName(name)) << name;
    Result<bool> r = probe.IsConnectible(name, 1, 750);
    ASSERT_TRUE(r.ok()) << name;
    EXPECT_EQ(runner.Calls().back().arguments.back(), name);
  }
}

TEST(ProbeConcurrency, TwoConsolesReadTheirOwnOutput) {
  // Two console processes share one TEMP; the second one's ping ends while
  // the first one's output is still unread.
  FakeFileStore files;
  FakeProcessRunner runner{files};
  FakeEnvironment first, second;
  second.pid = 777;
  runner.SetReachable("UP");
  runner.SetReachable("DOWN", false);
  Probe one{runner, first, files};
  Probe two{runner, second, files};
  Result<bool> secondAnswer = false;
  bool nested = false;
  runner.onRun = [&](const FakeProcessRunner::Call& call) {
    if (nested || call.arguments.back() != "UP") return;
    nested = true;
    secondAnswer = two.IsConnectible("DOWN", 1, 750);
  };
  Result<bool> firstAnswer = one.IsConnectible("UP", 1, 750);
  ASSERT_TRUE(firstAnswer.ok());
  EXPECT_TRUE(firstAnswer.value());
  ASSERT_TRUE(secondAnswer.ok());
  EXPECT_FALSE(secondAnswer.value());
  EXPECT_NE(runner.Calls()[0].outputFile, runner.Calls()[1].outputFile);
}

TEST_F(ProbeTest, FailuresArePassedOn) {
  runner.FailFor("PC1", Status::Fail(0x80070002u, "The system cannot find the file specified."));
  Result<bool> r = probe.IsConnectible("PC1", 1, 750);
  EXPECT_FALSE(r.ok());
  EXPECT_EQ(r.status().description(), "The system cannot find the file specified.");

  files.FailRead("C:\\Users\\admin\\AppData\\Local\\Temp\\RunResult-4242-2.tmp", FakeFileStore::Denied());
  EXPECT_FALSE(probe.IsConnectible("PC2", 1, 750).ok());

  environment.tempFailure = Status::Fail(0x800700CBu, "The system could not find the environment option.");
  EXPECT_FALSE(probe.IsConnectible("PC2", 1, 750).ok());
}

TEST_F(ProbeTest, TempDirectoryWithTrailingBackslash) {
  environment.temp = "C:\\TEMP\\";
  (void)probe.IsConnectible("PC1", 1, 750);
  EXPECT_EQ(runner.Calls().at(0).outputFile, "C:\\TEMP\\RunResult-4242-1.tmp");
}

}  // namespace
}  // namespace rosterly
