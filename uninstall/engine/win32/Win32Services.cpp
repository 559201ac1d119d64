#include "Win32Services.h"

#include <windows.h>

#include <string>

#include "Handles.h"
#include "MapError.h"

namespace scrubber {
namespace {

static_assert(SC_MANAGER_CONNECT == 1);
constexpr DWORD kServiceAccess = SERVICE_STOP | DELETE;
static_assert(kServiceAccess == 0x10020);

class Win32ServiceHandle : public ServiceHandle {
 public:
  explicit Win32ServiceHandle(SC_HANDLE service) : service_(service) {}

  Status Stop() override {
    SERVICE_STATUS status{};
    if (!ControlService(service_.get(), SERVICE_CONTROL_STOP, &status)) return LastError();
    return Status::Ok();
  }

  Status Delete() override {
    if (!DeleteService(service_.get())) return LastError();
    return Status::Ok();
  }

 private:
  win32::Service service_;
};

class Win32ServiceManager : public ServiceManager {
 public:
  explicit Win32ServiceManager(SC_HANDLE manager) : manager_(manager) {}

  std::unique_ptr<ServiceHandle> OpenByName(std::string_view name) override {
    std::string text(name);
    SC_HANDLE service = OpenServiceA(manager_.get(), text.c_str(), kServiceAccess);
    if (!service) return nullptr;
    return std::make_unique<Win32ServiceHandle>(service);
  }

 private:
  win32::ServiceManager manager_;
};

}  // namespace

std::unique_ptr<ServiceManager> Win32Services::OpenManager() {
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
  if (!manager) return nullptr;
  return std::make_unique<Win32ServiceManager>(manager);
}

}  // namespace scrubber
