#include "Probe.h"

#include <vector>

namespace rosterly {

namespace {

bool IsHostChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
         c == '_';
}

std::string JoinPath(std::string_view dir, std::string_view name) {
  std::string path(dir);
  if (!path.empty() && path.back() != '\\' && path.back() != '/') path.push_back('\\');
  path.append(name);
  return path;
}

Status BadArgument(std::string what) { return Status::Fail(kErrInvalidArgument, std::move(what)); }

}  // namespace

bool IsPlainHostName(std::string_view name) {
  if (name.empty() || name.size() > kMaxHostNameLength || name.front() == '-') return false;
  for (char c : name)
    if (!IsHostChar(c)) return false;
  return true;
}

Result<std::string> Probe::OutputPath() {
  Result<std::string> temp = environment_.TempDirectory();
  if (!temp.ok()) return temp.status();
  return JoinPath(temp.value(), "RunResult-" + std::to_string(environment_.ProcessId()) + ".tmp");
}

Result<bool> Probe::IsConnectible(std::string_view strHost, const LooseValue& intPings, const LooseValue& intTO) {
  const auto pings = intPings.IsEmptyText() ? std::optional<std::uint32_t>(2) : intPings.AsCount();
  const auto timeout = intTO.IsEmptyText() ? std::optional<std::uint32_t>(750) : intTO.AsCount();
  if (!pings || !timeout) return BadArgument("The number of echo requests or the timeout is not a valid number.");
  if (!IsPlainHostName(strHost)) return BadArgument("The computer name is not valid.");

  Result<std::string> output = OutputPath();
  if (!output.ok()) return output.status();
  Result<std::string> system = environment_.SystemDirectory();
  if (!system.ok()) return system.status();

  const std::vector<std::string> arguments = {"-n", std::to_string(*pings), "-w", std::to_string(*timeout),
                                              std::string(strHost)};
  Status run = runner_.RunHidden(JoinPath(system.value(), "ping.exe"), arguments, output.value());
  if (!run.ok()) return run;

  Result<std::string> text = files_.ReadWholeFile(output.value());
  if (!text.ok()) return text.status();
  return text.value().find("TTL=") != std::string::npos;
}

}  // namespace rosterly
