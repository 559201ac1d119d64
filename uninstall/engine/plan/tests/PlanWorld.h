#pragma once
// The fakes behind a recording platform, and a snapshot of everything they
// hold, so a test can show that a dry run left them exactly as they were.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "FakeFileSystem.h"
#include "FakeProfile.h"
#include "FakeRegistry.h"
#include "FakeServices.h"
#include "RecordingPlatform.h"

namespace scrubber {

// Interfaces a dry run must never call through: any call fails the test.
class NeverSystem final : public System {
 public:
  int PlatformKind() override { return 1; }
  unsigned MajorVersion() override { return 5; }
  std::string OemTextToAnsi(std::string_view oem) override { return std::string(oem); }
  bool CanOpenServiceManager() override { return true; }
  bool TopLevelWindowExists(std::string_view) override { return false; }
};
class NeverProcesses final : public Processes {
 public:
  std::unique_ptr<Process> Start(std::string_view commandLine) override {
    ADD_FAILURE() << "started " << commandLine;
    return nullptr;
  }
};
class NeverLibraries final : public Libraries {
 public:
  std::unique_ptr<Library> Load(std::string_view path) override {
    ADD_FAILURE() << "loaded " << path;
    return nullptr;
  }
};

// A Program Manager with one group; it counts the commands that reach it.
class StubProgman final : public DdeClient {
 public:
  int executed = 0;
  std::unique_ptr<DdeInstance> Initialize() override;
};

struct PlanWorld {
  FakeFileSystem fs;
  FakeProfile profile{fs};
  FakeRegistry registry;
  FakeServices services;
  NeverSystem system;
  NeverProcesses processes;
  NeverLibraries libraries;
  StubProgman dde;
  Platform real{fs, profile, registry, system, services, processes, libraries, dde};

  // Every file with attributes and content, every registry key and value
  // the tests use, every service.
  std::map<std::string, std::string> Snapshot();
};

// The raw steps as "op target" lines, minor ones included.
std::string Ops(const std::vector<PlanStep>& steps);

}  // namespace scrubber
