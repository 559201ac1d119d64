#pragma once
// One of each in-memory fake, handed out together as the engine's Platform:
// what Win32Platform is for the real system.
#include <map>
#include <string>

#include "FakeDde.h"
#include "FakeFileSystem.h"
#include "FakeLibraries.h"
#include "FakeProcesses.h"
#include "FakeProfile.h"
#include "FakeRegistry.h"
#include "FakeServices.h"
#include "FakeSystem.h"
#include "platform/Platform.h"

namespace scrubber {

struct FakePlatform {
  FakePlatform() = default;
  // The Platform refers to the members; none may move.
  FakePlatform(const FakePlatform&) = delete;
  FakePlatform& operator=(const FakePlatform&) = delete;

  FakeFileSystem fs;
  FakeProfile profile{fs};
  FakeRegistry registry;
  FakeSystem system;
  FakeServices services;
  FakeProcesses processes;
  FakeLibraries libraries;
  FakeDde dde;
  Platform platform{fs, profile, registry, system, services, processes, libraries, dde};

  // Every change of every fake counted in `changes`, which can end the
  // process at any one of them.
  void CountChanges() {
    for (FaultTable* table : {&fs.faults(), &profile.faults(), &registry.faults(), &system.faults(), &services.faults(),
                              &processes.faults(), &libraries.faults(), &dde.faults()})
      table->CountChangesIn(&changes);
  }
  ChangeCounter changes;

  // Everything the fakes hold, one entry per file, directory, registry key
  // and value, service, Program Manager group and item and restart move, so
  // that two states compare whole.
  std::map<std::string, std::string> Snapshot();
};

}  // namespace scrubber
