#pragma once
// A ping stand-in: hosts answer or not as a test says, and the output lands in
// the fake file store under the name the caller gave. A host can be made to
// hang: its ping never ends by itself. Plus a fixed environment.
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "FakeFiles.h"
#include "platform/Environment.h"
#include "platform/ProcessRunner.h"

namespace rosterly {

class FakeProcessRunner : public ProcessRunner {
 public:
  struct Call {
    std::string program;
    std::vector<std::string> arguments;
    std::string outputFile;
  };

  explicit FakeProcessRunner(FakeFileStore& files) : files_(files) {}

  void SetReachable(const std::string& host, bool reachable = true);
  void SetOutput(const std::string& host, std::string output) { outputs_[host] = std::move(output); }
  void FailFor(const std::string& host, Status failure) { failures_[host] = std::move(failure); }
  // The host's ping writes nothing and runs until it is ended.
  void Hang(const std::string& host) { hanging_.insert(host); }
  const std::vector<Call>& Calls() const { return calls_; }
  // Runs after the output has been written, when the program starts.
  std::function<void(const Call&)> onRun;

  // Programs started and not yet ended or waited for to their end; the most
  // there ever were at once; the waits each was given; how many were ended.
  int Running() const { return running_; }
  int MostRunning() const { return mostRunning_; }
  const std::vector<std::uint32_t>& Waits() const { return waits_; }
  int Ended() const { return ended_; }

  static std::string ReplyOutput(const std::string& host);
  static std::string TimeoutOutput(const std::string& host);

  Result<std::unique_ptr<RunningProgram>> Start(std::string_view program, std::span<const std::string> arguments,
                                                std::string_view outputFile) override;

 private:
  friend class FakeProgram;
  FakeFileStore& files_;
  std::map<std::string, std::string> outputs_;
  std::map<std::string, Status> failures_;
  std::set<std::string> hanging_;
  std::vector<Call> calls_;
  std::vector<std::uint32_t> waits_;
  int running_ = 0;
  int mostRunning_ = 0;
  int ended_ = 0;
};

class FakeEnvironment : public Environment {
 public:
  std::string temp = "C:\\Users\\admin\\AppData\\Local\\Temp";
  std::string system = "C:\\Windows\\system32";
  std::uint32_t pid = 4242;
  Status tempFailure;

  Result<std::string> TempDirectory() override {
    if (!tempFailure.ok()) return tempFailure;
    return temp;
  }
  Result<std::string> SystemDirectory() override { return system; }
  std::uint32_t ProcessId() override { return pid; }
};

}  // namespace rosterly
