#pragma once
// The service control manager, as far as removing a service needs it.
#include <memory>
#include <string_view>

#include "SysError.h"

namespace scrubber {

// One service opened with the access to stop and to delete it (0x10020);
// its handle is closed when destroyed.
class ServiceHandle {
 public:
  virtual ~ServiceHandle() = default;
  virtual Status Stop() = 0;  // the stop control
  virtual Status Delete() = 0;
};

// The local service control manager opened with connect access (1); closed
// when destroyed.
class ServiceManager {
 public:
  virtual ~ServiceManager() = default;
  // nullptr when the service does not exist or cannot be opened.
  virtual std::unique_ptr<ServiceHandle> OpenByName(std::string_view name) = 0;
};

class Services {
 public:
  virtual ~Services() = default;
  // nullptr when the manager cannot be opened.
  virtual std::unique_ptr<ServiceManager> OpenManager() = 0;
};

}  // namespace scrubber
