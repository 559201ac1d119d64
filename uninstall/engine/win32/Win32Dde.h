#pragma once
// A DDEML client: DdeInitializeA, DdeConnect, DdeClientTransaction.
#include "platform/Dde.h"

namespace scrubber {

class Win32DdeClient : public DdeClient {
 public:
  std::unique_ptr<DdeInstance> Initialize() override;
};

}  // namespace scrubber
