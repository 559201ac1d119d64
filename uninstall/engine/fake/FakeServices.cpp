#include "FakeServices.h"

#include "files/PathText.h"

namespace scrubber {
namespace {

// ERROR_SERVICE_MARKED_FOR_DELETE and ERROR_SERVICE_NOT_ACTIVE.
constexpr std::uint32_t kMarkedForDelete = 1072;
constexpr std::uint32_t kNotActive = 1062;
constexpr std::uint32_t kCannotAcceptControl = 1061;


class FakeServiceHandle : public ServiceHandle {
 public:
  FakeServiceHandle(FakeServices& owner, std::string name) : owner_(owner), name_(std::move(name)) {
    if (auto* s = owner_.Find(name_)) ++s->openHandles;
  }
  ~FakeServiceHandle() override {
    owner_.Record("CloseService " + name_);
    if (auto* s = owner_.Find(name_)) owner_.Closed(*s);
  }
  Status Stop() override {
    owner_.Record("Stop " + name_);
    if (auto e = owner_.faults().Check("Stop")) return Status::Fail(*e);
    auto* s = owner_.Find(name_);
    if (!s) return Status::Fail(SysError::NotFound);
    if (!s->running) return Status::Fail(SysError::Other, kNotActive);
    if (s->refusesStop) return Status::Fail(SysError::Other, kCannotAcceptControl);
    s->running = false;
    return Status::Ok();
  }
  Status Delete() override {
    owner_.Record("Delete " + name_);
    if (auto e = owner_.faults().Check("Delete")) return Status::Fail(*e);
    auto* s = owner_.Find(name_);
    if (!s) return Status::Fail(SysError::NotFound);
    if (s->deleted) return Status::Fail(SysError::Other, kMarkedForDelete);
    s->deleted = true;
    return Status::Ok();
  }

 private:
  FakeServices& owner_;
  std::string name_;
};

class FakeServiceManager : public ServiceManager {
 public:
  explicit FakeServiceManager(FakeServices& owner) : owner_(owner) {}
  ~FakeServiceManager() override { owner_.Record("CloseManager"); }
  std::unique_ptr<ServiceHandle> OpenByName(std::string_view name) override {
    owner_.Record("OpenService " + std::string(name));
    if (owner_.faults().Check("OpenService")) return nullptr;
    auto* s = owner_.Find(name);
    if (!s || s->denied) return nullptr;
    return std::make_unique<FakeServiceHandle>(owner_, std::string(name));
  }

 private:
  FakeServices& owner_;
};

}  // namespace

FakeServices::FakeServices() : faults_({"OpenManager", "OpenService", "Stop", "Delete"}) {}
FakeServices::~FakeServices() = default;

std::unique_ptr<ServiceManager> FakeServices::OpenManager() {
  Record("OpenManager");
  if (faults_.Check("OpenManager")) return nullptr;
  return std::make_unique<FakeServiceManager>(*this);
}

FakeServices::Service* FakeServices::Find(std::string_view name) {
  auto it = services_.find(AsciiUpperCase(name));
  return it == services_.end() ? nullptr : &it->second;
}

void FakeServices::Closed(Service& service) {
  // A service marked for deletion goes with its last handle, unless it is
  // still running: then it stays, marked, as on the platform.
  if (--service.openHandles > 0 || !service.deleted || service.running) return;
  services_.erase(AsciiUpperCase(service.name));
}

void FakeServices::AddService(std::string_view name, bool running) {
  Service& s = services_[AsciiUpperCase(name)];
  s = Service{};
  s.name = name;
  s.running = running;
}

void FakeServices::DenyOpen(std::string_view name, bool deny) {
  if (auto* s = Find(name)) s->denied = deny;
}

void FakeServices::RefuseStop(std::string_view name, bool refuse) {
  if (auto* s = Find(name)) s->refusesStop = refuse;
}

bool FakeServices::Exists(std::string_view name) const {
  return services_.count(AsciiUpperCase(name)) != 0;
}

bool FakeServices::IsRunning(std::string_view name) const {
  auto it = services_.find(AsciiUpperCase(name));
  return it != services_.end() && it->second.running;
}

bool FakeServices::IsMarkedForDelete(std::string_view name) const {
  auto it = services_.find(AsciiUpperCase(name));
  return it != services_.end() && it->second.deleted;
}

std::vector<std::string> FakeServices::Describe() const {
  std::vector<std::string> out;
  for (const auto& [name, service] : services_)
    out.push_back(name + (service.running ? " running" : " stopped") + (service.deleted ? " marked" : ""));
  return out;
}

}  // namespace scrubber
