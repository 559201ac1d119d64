#include "FakeProcesses.h"

#include "files/PathText.h"

namespace scrubber {
namespace {

class FakeProcess : public Process {
 public:
  explicit FakeProcess(FakeProcesses& owner) : owner_(owner) {}
  Status Wait() override {
    if (auto e = owner_.faults().Check("Wait")) return Status::Fail(*e);
    owner_.Waited();
    return Status::Ok();
  }

 private:
  FakeProcesses& owner_;
};

}  // namespace

FakeProcesses::FakeProcesses() : faults_({"Start", "Wait"}) {}
FakeProcesses::~FakeProcesses() = default;

std::unique_ptr<Process> FakeProcesses::Start(std::string_view commandLine) {
  if (faults_.Check("Start")) return nullptr;
  if (commandLine.empty()) return nullptr;
  for (const auto& prefix : missing_) {
    if (StartsWithNoCase(commandLine, prefix)) return nullptr;
  }
  started_.emplace_back(commandLine);
  for (const auto& program : programs_) {
    if (StartsWithNoCase(commandLine, program.prefix)) {
      if (program.action) program.action(commandLine);
      break;
    }
  }
  return std::make_unique<FakeProcess>(*this);
}

void FakeProcesses::OnStart(std::string_view prefix, Action action) {
  programs_.push_back({std::string(prefix), std::move(action)});
}

void FakeProcesses::Missing(std::string_view prefix) {
  missing_.emplace_back(prefix);
}

}  // namespace scrubber
