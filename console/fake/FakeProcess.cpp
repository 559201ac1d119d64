#include "FakeProcess.h"

#include <algorithm>

namespace rosterly {

// A started ping: done at once, or hanging until ended.
class FakeProgram : public RunningProgram {
 public:
  FakeProgram(FakeProcessRunner& runner, bool hangs) : runner_(runner), hangs_(hangs) {
    ++runner_.running_;
    runner_.mostRunning_ = std::max(runner_.mostRunning_, runner_.running_);
  }
  ~FakeProgram() override { End(); }

  Result<bool> WaitForExit(std::uint32_t milliseconds) override {
    runner_.waits_.push_back(milliseconds);
    if (hangs_) return false;
    Gone();
    return true;
  }
  void End() override {
    if (gone_) return;
    if (hangs_) ++runner_.ended_;
    Gone();
  }

 private:
  void Gone() {
    if (!gone_) --runner_.running_;
    gone_ = true;
  }
  FakeProcessRunner& runner_;
  bool hangs_;
  bool gone_ = false;
};

std::string FakeProcessRunner::ReplyOutput(const std::string& host) {
  return "\r\nPinging " + host + " [10.0.0.7] with 32 bytes of data:\r\n"
         "Reply from 10.0.0.7: bytes=32 time<1ms TTL=128\r\n";
}

std::string FakeProcessRunner::TimeoutOutput(const std::string& host) {
  return "\r\nPinging " + host + " [10.0.0.9] with 32 bytes of data:\r\nRequest timed out.\r\n";
}

void FakeProcessRunner::SetReachable(const std::string& host, bool reachable) {
  outputs_[host] = reachable ? ReplyOutput(host) : TimeoutOutput(host);
}

Result<std::unique_ptr<RunningProgram>> FakeProcessRunner::Start(std::string_view program,
                                                                 std::span<const std::string> arguments,
                                                                 std::string_view outputFile) {
  Call call{std::string(program), {arguments.begin(), arguments.end()}, std::string(outputFile)};
  calls_.push_back(call);
  const std::string host = arguments.empty() ? std::string() : arguments.back();
  if (auto f = failures_.find(host); f != failures_.end()) return f->second;
  const bool hangs = hanging_.count(host) > 0;
  auto out = outputs_.find(host);
  const std::string text = hangs ? std::string() : out != outputs_.end() ? out->second : TimeoutOutput(host);
  Status written = files_.WriteWholeFile(outputFile, text);
  if (!written.ok()) return written;
  if (onRun) onRun(call);
  return std::unique_ptr<RunningProgram>(std::make_unique<FakeProgram>(*this, hangs));
}

}  // namespace rosterly
