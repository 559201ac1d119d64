#pragma once
// The real system: one of each Win32 implementation, handed out together as
// the engine's Platform.
#include "Win32Dde.h"
#include "Win32FileSystem.h"
#include "Win32Libraries.h"
#include "Win32Processes.h"
#include "Win32Profile.h"
#include "Win32Registry.h"
#include "Win32Services.h"
#include "Win32System.h"
#include "platform/Platform.h"

namespace scrubber {

class Win32Platform {
 public:
  Win32Platform() = default;
  // The Platform refers to the members; neither may move.
  Win32Platform(const Win32Platform&) = delete;
  Win32Platform& operator=(const Win32Platform&) = delete;

  Platform& platform() { return platform_; }

 private:
  Win32FileSystem fs_;
  Win32Profile profile_;
  Win32Registry registry_;
  Win32System system_;
  Win32Services services_;
  Win32Processes processes_;
  Win32Libraries libraries_;
  Win32DdeClient dde_;
  Platform platform_{fs_, profile_, registry_, system_, services_, processes_, libraries_, dde_};
};

}  // namespace scrubber
