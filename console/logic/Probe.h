#pragma once
// The reachability probe: one run of the system's ping program for a host,
// hidden, its output captured in a file, and the answer "reachable" exactly
// when that output holds "TTL=".
//
// No command interpreter takes part: the host name reaches ping as one
// argument, so any name that can be passed safely is pinged. Refused are
// only names that could not: empty ones, those with control characters,
// double quotes or blanks, and those starting with '-' or '/', which ping
// would take for an option.
//
// Each ping writes into a file of its own ("RunResult-<process>-<n>.tmp" in
// TEMP), so pings of this console and of others never mix. Once read, that
// file takes the place of "RunResult.tmp" in one step: the last probe's
// output is there to look at, always whole, and no other file stays behind.
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "LooseValue.h"
#include "platform/Environment.h"
#include "platform/FileStore.h"
#include "platform/ProcessRunner.h"
#include "platform/Status.h"

namespace rosterly {

// Time a ping may take beyond its requests' timeouts (starting, resolving
// the name) before it counts as hung. Generous: name resolution alone can
// take seconds.
inline constexpr std::uint32_t kProbeMarginMs = 15000;

bool IsPassableHostName(std::string_view name);

class Probe;

// One ping under way. Destroyed before its answer was taken, it ends the
// ping and removes its file.
class PendingProbe {
 public:
  PendingProbe(Probe& probe, std::unique_ptr<RunningProgram> program, std::string outputFile, std::uint64_t limitMs);
  PendingProbe(const PendingProbe&) = delete;
  PendingProbe& operator=(const PendingProbe&) = delete;
  ~PendingProbe();

  // Waits for the ping, at most its requests' timeouts plus the margin from
  // its start; a ping still running then is ended and counts as no answer.
  Result<bool> Answer();

 private:
  void Discard();

  Probe& probe_;
  std::unique_ptr<RunningProgram> program_;
  std::string outputFile_;
  std::uint64_t limitMs_;
  std::chrono::steady_clock::time_point started_;
  bool done_ = false;
};

class Probe {
 public:
  Probe(ProcessRunner& runner, Environment& environment, FileStore& files, std::uint32_t marginMs = kProbeMarginMs)
      : runner_(runner), environment_(environment), files_(files), marginMs_(marginMs) {}

  // The empty text for a count means 2 requests, 750 ms. A failure (refused
  // name or count, the program or the output file unavailable) is passed on.
  Result<bool> IsConnectible(std::string_view strHost, const LooseValue& intPings, const LooseValue& intTO);

  // Starts the ping and returns at once; the answer is taken later.
  Result<std::unique_ptr<PendingProbe>> Start(std::string_view strHost, const LooseValue& intPings,
                                              const LooseValue& intTO);

  // "RunResult.tmp" in TEMP: the output of the last probe answered.
  Result<std::string> OutputPath();

 private:
  friend class PendingProbe;

  ProcessRunner& runner_;
  Environment& environment_;
  FileStore& files_;
  std::uint32_t marginMs_;
  std::uint32_t started_ = 0;  // numbers the output files
  std::string lastOutput_;
};

}  // namespace rosterly
