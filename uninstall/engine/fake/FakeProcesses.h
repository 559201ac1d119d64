#pragma once
// Programs started in memory: every command line is recorded, and a test
// can attach an action to a program so that starting it does something
// (an uninstall program deleting files, say). The action runs when the
// process is started, before Start returns; Wait then returns at once.
// Any call can be made to fail. Processes must not outlive it.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "FaultTable.h"
#include "platform/Processes.h"

namespace scrubber {

class FakeProcesses : public Processes {
 public:
  using Action = std::function<void(std::string_view commandLine)>;

  FakeProcesses();
  ~FakeProcesses() override;

  // Processes
  std::unique_ptr<Process> Start(std::string_view commandLine) override;

  // Runs `action` for every started command line that begins with `prefix`
  // (letter case ignored); the first matching program wins, in the order
  // they were added.
  void OnStart(std::string_view prefix, Action action);
  // Command lines that begin with `prefix` (letter case ignored) cannot be
  // started (no such program): Start answers nullptr and records nothing
  // in Started().
  void Missing(std::string_view prefix);

  // Every command line started, in order (failed starts not included).
  const std::vector<std::string>& Started() const { return started_; }
  // How many processes were waited for.
  unsigned Waits() const { return waits_; }

  // Faults: "Start", "Wait".
  FaultTable& faults() { return faults_; }

  // Used by the processes it hands out.
  void Waited() { ++waits_; }

 private:
  struct Program {
    std::string prefix;
    Action action;
  };
  std::vector<Program> programs_;
  std::vector<std::string> missing_;
  std::vector<std::string> started_;
  unsigned waits_ = 0;
  FaultTable faults_;
};

}  // namespace scrubber
