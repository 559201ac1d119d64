#pragma once
// A ping stand-in: hosts answer or not as a test says, and the output lands in
// the fake file store under the name the caller gave. Plus a fixed environment.
#include <functional>
#include <map>
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
  const std::vector<Call>& Calls() const { return calls_; }
  // Runs after the output has been written, before RunHidden returns.
  std::function<void(const Call&)> onRun;

  static std::string ReplyOutput(const std::string& host);
  static std::string TimeoutOutput(const std::string& host);

  Status RunHidden(std::string_view program, std::span<const std::string> arguments,
                   std::string_view outputFile) override;

 private:
  FakeFileStore& files_;
  std::map<std::string, std::string> outputs_;
  std::map<std::string, Status> failures_;
  std::vector<Call> calls_;
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
