#pragma once
// Every interface the uninstall engine reaches the system through, bundled
// so that a run can be handed the real system, the fakes, or the recording
// layer of a dry run.
#include "Dde.h"
#include "FileSystem.h"
#include "Libraries.h"
#include "Processes.h"
#include "Profile.h"
#include "Registry.h"
#include "Services.h"
#include "System.h"

namespace scrubber {

struct Platform {
  FileSystem& fs;
  Profile& profile;
  Registry& registry;
  System& system;
  Services& services;
  Processes& processes;
  Libraries& libraries;
  DdeClient& dde;
};

}  // namespace scrubber
