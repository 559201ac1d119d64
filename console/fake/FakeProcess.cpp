#include "FakeProcess.h"

namespace rosterly {

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

Status FakeProcessRunner::RunHidden(std::string_view program, std::span<const std::string> arguments,
                                   std::string_view outputFile) {
  Call call{std::string(program), {arguments.begin(), arguments.end()}, std::string(outputFile)};
  calls_.push_back(call);
  const std::string host = arguments.empty() ? std::string() : arguments.back();
  if (auto f = failures_.find(host); f != failures_.end()) return f->second;
  auto out = outputs_.find(host);
  const std::string text = out != outputs_.end() ? out->second : TimeoutOutput(host);
  Status written = files_.WriteWholeFile(outputFile, text);
  if (!written.ok()) return written;
  if (onRun) onRun(call);
  return Status::Ok();
}

}  // namespace rosterly
