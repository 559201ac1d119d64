#include "RecordingOthers.h"

#include "PeExports.h"
#include "PlanText.h"
#include "files/PathText.h"

namespace scrubber {

namespace {

PlanStep Step(PlanOp op, std::string_view target) {
  PlanStep step;
  step.op = op;
  step.target = std::string(target);
  step.key = FoldKey(target);
  return step;
}

}  // namespace

// ---- Services ----------------------------------------------------------------

class RecordingServices::Handle final : public ServiceHandle {
 public:
  Handle(RecordingServices& owner, std::string name, std::unique_ptr<ServiceHandle> real)
      : owner_(owner), name_(std::move(name)), real_(std::move(real)) {}
  Status Stop() override {
    owner_.log_.Add(Step(PlanOp::StopService, name_));
    return Status::Ok();
  }
  Status Delete() override {
    if (owner_.deleted_.count(FoldKey(name_))) return Status::Fail(SysError::NotFound);
    owner_.log_.Add(Step(PlanOp::DeleteService, name_));
    owner_.deleted_.insert(FoldKey(name_));
    return Status::Ok();
  }

 private:
  RecordingServices& owner_;
  std::string name_;
  std::unique_ptr<ServiceHandle> real_;  // held only so the access is the real run's
};

class RecordingServices::Manager final : public ServiceManager {
 public:
  Manager(RecordingServices& owner, std::unique_ptr<ServiceManager> real) : owner_(owner), real_(std::move(real)) {}
  std::unique_ptr<ServiceHandle> OpenByName(std::string_view name) override {
    if (owner_.deleted_.count(FoldKey(name))) return nullptr;
    auto real = real_->OpenByName(name);
    if (!real) return nullptr;
    return std::make_unique<Handle>(owner_, std::string(name), std::move(real));
  }

 private:
  RecordingServices& owner_;
  std::unique_ptr<ServiceManager> real_;
};

std::unique_ptr<ServiceManager> RecordingServices::OpenManager() {
  auto real = real_.OpenManager();
  if (!real) return nullptr;
  return std::make_unique<Manager>(*this, std::move(real));
}

// ---- Processes ---------------------------------------------------------------

namespace {

class NotStarted final : public Process {
 public:
  Status Wait() override { return Status::Ok(); }
};

}  // namespace

std::unique_ptr<Process> RecordingProcesses::Start(std::string_view commandLine) {
  log_.Add(Step(PlanOp::StartProgram, commandLine));
  return std::make_unique<NotStarted>();
}

// ---- Libraries ---------------------------------------------------------------

namespace {

// The processor this program runs on: the real run loads only such images.
constexpr std::uint16_t kOwnMachine = sizeof(void*) == 8 ? kMachineAmd64 : kMachineI386;

// The OLE library as the registration code uses it: initialising succeeds.
class OleLibrary final : public Library {
 public:
  bool HasExport(std::string_view name) override { return name == "OleInitialize" || name == "OleUninitialize"; }
  std::optional<std::int32_t> Call(std::string_view name, EntryArgs) override {
    if (!HasExport(name)) return std::nullopt;
    return 0;
  }
};

class ComponentLibrary final : public Library {
 public:
  ComponentLibrary(PlanLog& log, std::string path, PeInfo info) : log_(log), path_(std::move(path)), info_(std::move(info)) {}
  bool HasExport(std::string_view name) override {
    return !info_.exportsKnown || info_.exports.count(std::string(name)) > 0;
  }
  std::optional<std::int32_t> Call(std::string_view name, EntryArgs) override {
    if (!HasExport(name)) return std::nullopt;
    PlanStep step = Step(PlanOp::CallEntry, path_);
    step.With("entry", std::string(name));
    // Not read from the image: the call is planned as if the name were there.
    if (!info_.exportsKnown) step.With("exported", "assumed");
    log_.Add(std::move(step));
    return 0;
  }

 private:
  PlanLog& log_;
  std::string path_;
  PeInfo info_;
};

}  // namespace

std::unique_ptr<Library> RecordingLibraries::Load(std::string_view path) {
  const std::size_t slash = path.find_last_of("\\/");
  const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  if (EqualsNoCase(name, "OLE32.DLL")) return std::make_unique<OleLibrary>();
  PeInfo info = ReadPeInfo(files_, path);
  if (!info.isImage || info.machine != kOwnMachine) return nullptr;
  return std::make_unique<ComponentLibrary>(log_, std::string(path), std::move(info));
}

// ---- DDE ---------------------------------------------------------------------

class RecordingDde::Conversation final : public DdeConversation {
 public:
  Conversation(PlanLog& log, std::unique_ptr<DdeConversation> real) : log_(log), real_(std::move(real)) {}
  std::optional<std::string> Request(std::string_view item, std::uint32_t timeoutMs) override {
    return real_->Request(item, timeoutMs);
  }
  Status Execute(std::string_view command, std::uint32_t) override {
    log_.Add(Step(PlanOp::ProgmanCommand, command));
    return Status::Ok();
  }

 private:
  PlanLog& log_;
  std::unique_ptr<DdeConversation> real_;
};

class RecordingDde::Instance final : public DdeInstance {
 public:
  Instance(PlanLog& log, std::unique_ptr<DdeInstance> real) : log_(log), real_(std::move(real)) {}
  ~Instance() override = default;
  std::unique_ptr<DdeConversation> Connect(std::string_view service, std::string_view topic) override {
    auto real = real_->Connect(service, topic);
    if (!real) return nullptr;
    return std::make_unique<Conversation>(log_, std::move(real));
  }

 private:
  PlanLog& log_;
  std::unique_ptr<DdeInstance> real_;
};

std::unique_ptr<DdeInstance> RecordingDde::Initialize() {
  auto real = real_.Initialize();
  if (!real) return nullptr;
  return std::make_unique<Instance>(log_, std::move(real));
}

}  // namespace scrubber
