#pragma once
// The service control manager on OpenSCManagerA / OpenServiceA.
#include "platform/Services.h"

namespace scrubber {

class Win32Services : public Services {
 public:
  std::unique_ptr<ServiceManager> OpenManager() override;
};

}  // namespace scrubber
