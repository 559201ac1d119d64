#pragma once
// The reachability probe: one run of the system's ping program for a host,
// hidden, its output captured in a file of this process's own, and the answer
// "reachable" exactly when that output holds "TTL=".
//
// No command interpreter takes part, and a host name must be a plain computer
// name (letters, digits, hyphen, dot, underscore; not starting with a hyphen,
// so it cannot pass for a ping option): no name can make anything but one
// ping of that name run. The output file carries the process id, so two
// consoles probing at the same moment each read their own ping's output.
#include <string>
#include <string_view>

#include "LooseValue.h"
#include "platform/Environment.h"
#include "platform/FileStore.h"
#include "platform/ProcessRunner.h"
#include "platform/Status.h"

namespace rosterly {

inline constexpr std::size_t kMaxHostNameLength = 255;

bool IsPlainHostName(std::string_view name);

class Probe {
 public:
  Probe(ProcessRunner& runner, Environment& environment, FileStore& files)
      : runner_(runner), environment_(environment), files_(files) {}

  // The empty text for a count means 2 requests, 750 ms. A failure (bad name
  // or count, the program or the output file unavailable) is passed on.
  Result<bool> IsConnectible(std::string_view strHost, const LooseValue& intPings, const LooseValue& intTO);

  // Where this process's probes leave their output.
  Result<std::string> OutputPath();

 private:
  ProcessRunner& runner_;
  Environment& environment_;
  FileStore& files_;
};

}  // namespace rosterly
