#pragma once
// The remaining interfaces of a dry run. Services: stopping and deleting is
// recorded, and a deleted service no longer opens. Programs are recorded and
// never started. Libraries are never loaded: a component answers from its
// export table, and the OLE library answers as if initialised. Program
// Manager requests reach the real server (reading changes nothing); its
// commands are recorded.
#include <set>
#include <string>

#include "PlanStep.h"
#include "RecordingFileSystem.h"
#include "platform/Dde.h"
#include "platform/Libraries.h"
#include "platform/Processes.h"
#include "platform/Services.h"

namespace scrubber {

class RecordingServices final : public Services {
 public:
  RecordingServices(Services& real, PlanLog& log) : real_(real), log_(log) {}
  std::unique_ptr<ServiceManager> OpenManager() override;

 private:
  class Manager;
  class Handle;
  Services& real_;
  PlanLog& log_;
  std::set<std::string> deleted_;  // upper case
};

class RecordingProcesses final : public Processes {
 public:
  explicit RecordingProcesses(PlanLog& log) : log_(log) {}
  // Always "started", so the run goes on as if the program had ended.
  std::unique_ptr<Process> Start(std::string_view commandLine) override;

 private:
  PlanLog& log_;
};

class RecordingLibraries final : public Libraries {
 public:
  RecordingLibraries(RecordingFileSystem& files, PlanLog& log) : files_(files), log_(log) {}
  // nullptr where the real load would fail for certain: no such file, no
  // image, or an image built for another processor than this program.
  std::unique_ptr<Library> Load(std::string_view path) override;

 private:
  RecordingFileSystem& files_;
  PlanLog& log_;
};

class RecordingDde final : public DdeClient {
 public:
  RecordingDde(DdeClient& real, PlanLog& log) : real_(real), log_(log) {}
  std::unique_ptr<DdeInstance> Initialize() override;

 private:
  class Instance;
  class Conversation;
  DdeClient& real_;
  PlanLog& log_;
};

}  // namespace scrubber
