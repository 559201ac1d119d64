#include "Probe.h"

#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>

namespace rosterly {

namespace {

constexpr std::string_view kLastOutputName = "RunResult.tmp";
constexpr int kSettleTries = 8;
constexpr std::chrono::milliseconds kSettleStep{25};

std::string JoinPath(std::string_view dir, std::string_view name) {
  std::string path(dir);
  if (!path.empty() && path.back() != '\\' && path.back() != '/') path.push_back('\\');
  path.append(name);
  return path;
}

Status BadArgument(std::string what) { return Status::Fail(kErrInvalidArgument, std::move(what)); }

using Clock = std::chrono::steady_clock;

std::uint64_t MsSince(Clock::time_point start) {
  return static_cast<std::uint64_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

}  // namespace

bool IsPassableHostName(std::string_view name) {
  // A leading '-' or '/' would make ping read the name as an option.
  if (name.empty() || name.front() == '-' || name.front() == '/') return false;
  for (char c : name) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F || c == '"' || c == ' ') return false;
  }
  return true;
}

PendingProbe::PendingProbe(Probe& probe, std::unique_ptr<RunningProgram> program, std::string outputFile,
                           std::uint64_t limitMs)
    : probe_(probe),
      program_(std::move(program)),
      outputFile_(std::move(outputFile)),
      limitMs_(limitMs),
      started_(Clock::now()) {}

PendingProbe::~PendingProbe() {
  if (!done_) Discard();
}

void PendingProbe::Discard() {
  done_ = true;
  if (program_) program_->End();
  program_.reset();
  (void)probe_.files_.RemoveFile(outputFile_);
}

Result<bool> PendingProbe::Answer() {
  if (done_) return BadArgument("The probe has already answered.");
  const std::uint64_t spent = MsSince(started_);
  const std::uint64_t left = limitMs_ > spent ? limitMs_ - spent : 0;
  Result<bool> ended = program_->WaitForExit(static_cast<std::uint32_t>(std::min<std::uint64_t>(left, 0xFFFFFFFEu)));
  if (!ended.ok()) {
    Discard();
    return ended.status();
  }
  const bool hung = !ended.value();
  if (hung) program_->End();
  program_.reset();
  done_ = true;

  FileStore& files = probe_.files_;
  Result<std::string> text = files.ReadWholeFile(outputFile_);
  // The output becomes "RunResult.tmp" whole. Another console may be
  // reading "RunResult.tmp" (or a scanner holding it): a few short tries,
  // then the file goes all the same.
  for (int attempt = 0;; ++attempt) {
    if (files.MoveReplacing(outputFile_, probe_.lastOutput_).ok()) break;
    if (attempt == kSettleTries) {
      (void)files.RemoveFile(outputFile_);
      break;
    }
    std::this_thread::sleep_for(kSettleStep);
  }
  if (hung) return false;  // a ping that never ended gave no answer
  if (!text.ok()) return text.status();
  return text.value().find("TTL=") != std::string::npos;
}

Result<std::string> Probe::OutputPath() {
  Result<std::string> temp = environment_.TempDirectory();
  if (!temp.ok()) return temp.status();
  return JoinPath(temp.value(), kLastOutputName);
}

Result<bool> Probe::IsConnectible(std::string_view strHost, const LooseValue& intPings, const LooseValue& intTO) {
  Result<std::unique_ptr<PendingProbe>> pending = Start(strHost, intPings, intTO);
  if (!pending.ok()) return pending.status();
  return pending.value()->Answer();
}

Result<std::unique_ptr<PendingProbe>> Probe::Start(std::string_view strHost, const LooseValue& intPings,
                                                   const LooseValue& intTO) {
  const auto pings = intPings.IsEmptyText() ? std::optional<std::uint32_t>(2) : intPings.AsCount();
  const auto timeout = intTO.IsEmptyText() ? std::optional<std::uint32_t>(750) : intTO.AsCount();
  if (!pings || !timeout) return BadArgument("The number of echo requests or the timeout is not a valid number.");
  if (!IsPassableHostName(strHost)) return BadArgument("The computer name cannot be passed to ping.");

  Result<std::string> temp = environment_.TempDirectory();
  if (!temp.ok()) return temp.status();
  Result<std::string> system = environment_.SystemDirectory();
  if (!system.ok()) return system.status();
  lastOutput_ = JoinPath(temp.value(), kLastOutputName);
  std::string output = JoinPath(temp.value(), "RunResult-" + std::to_string(environment_.ProcessId()) + "-" +
                                                  std::to_string(++started_) + ".tmp");

  const std::vector<std::string> arguments = {"-n", std::to_string(*pings), "-w", std::to_string(*timeout),
                                              std::string(strHost)};
  Result<std::unique_ptr<RunningProgram>> program =
      runner_.Start(JoinPath(system.value(), "ping.exe"), arguments, output);
  if (!program.ok()) {
    (void)files_.RemoveFile(output);
    return program.status();
  }
  const std::uint64_t limit = std::uint64_t{*pings} * *timeout + marginMs_;
  return std::make_unique<PendingProbe>(*this, std::move(program.value()), std::move(output), limit);
}

}  // namespace rosterly
