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

TEST_F(ProbeTest, RunsPingDirectlyAndAnswersByTheTtlMarker) {
  runner.SetReachable("PC1");
  Result<bool> r = probe.IsConnectible("PC1", 1, 750);
  ASSERT_TRUE(r.ok());
  EXPECT_TRUE(r.value());
  ASSERT_EQ(runner.Calls().size(), 1u);
  const auto& call = runner.Calls()[0];
  EXPECT_EQ(call.program, "C:\\Windows\\system32\\ping.exe");
  EXPECT_EQ(call.arguments, (std::vector<std::string>{"-n", "1", "-w", "750", "PC1"}));
  EXPECT_EQ(call.outputFile, "C:\\Users\\admin\\AppData\\Local\\Temp\\RunResult-4242.tmp");
  // The output stays behind for the administrator to look at.
  EXPECT_TRUE(files.FileExists(call.outputFile));

  Result<bool> gone = probe.IsConnectible("PC9", 1, 750);
  ASSERT_TRUE(gone.ok());
  EXPECT_FALSE(gone.value());
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

TEST_F(ProbeTest, HostileNamesAndCountsNeverReachAProgram) {
  const std::vector<std::string> hostile = {
      "PC1&calc",  "PC1|more",  "PC1>C:\\x", "PC1<in", "PC1^", "\"PC1\"", "%COMSPEC%", "PC1;del",
      "PC 1",      "PC1\t",     "PC1\r\n",   "PC1\n&calc", std::string("PC1\0x", 5), "-t", "-n", "",
      "PC1!",      "PC1`",      "PC1(x)",    "\\\\PC1", "PC1/x", "PC1,group", std::string(256, 'a'), "R\xC9SEAU"};
  for (const auto& name : hostile) {
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

TEST_F(ProbeTest, PlainNamesAreAccepted) {
  for (const std::string& name : std::vector<std::string>{"PC1", "web-01.corp.example", "10.1.2.3", "SRV_DB", std::string(255, 'a')})
    EXPECT_TRUE(IsPlainHostName(name)) << name;
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

  files.FailRead("C:\\Users\\admin\\AppData\\Local\\Temp\\RunResult-4242.tmp", FakeFileStore::Denied());
  EXPECT_FALSE(probe.IsConnectible("PC2", 1, 750).ok());

  environment.tempFailure = Status::Fail(0x800700CBu, "The system could not find the environment option.");
  EXPECT_FALSE(probe.IsConnectible("PC2", 1, 750).ok());
}

TEST_F(ProbeTest, TempDirectoryWithTrailingBackslash) {
  environment.temp = "C:\\TEMP\\";
  (void)probe.IsConnectible("PC1", 1, 750);
  EXPECT_EQ(runner.Calls().at(0).outputFile, "C:\\TEMP\\RunResult-4242.tmp");
}

}  // namespace
}  // namespace rosterly
