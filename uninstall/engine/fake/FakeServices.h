#pragma once
// Services held in memory by name (letter case ignored), each running or
// stopped. Every call is recorded in order, e.g. "OpenManager",
// "OpenService Spooler", "Stop Spooler", "Delete Spooler", and any call can be
// made to fail. Handles it hands out must not outlive it.
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "FaultTable.h"
#include "platform/Services.h"

namespace scrubber {

class FakeServices : public Services {
 public:
  FakeServices();
  ~FakeServices() override;

  // Services
  std::unique_ptr<ServiceManager> OpenManager() override;

  // Setting the scene.
  void AddService(std::string_view name, bool running = false);
  // The service exists but OpenService refuses it (access denied).
  void DenyOpen(std::string_view name, bool deny = true);
  // A running service that does not stop: Stop fails and it keeps running.
  void RefuseStop(std::string_view name, bool refuse = true);

  // Looking at the result.
  bool Exists(std::string_view name) const;
  bool IsRunning(std::string_view name) const;
  // Deleted while running: it stays, marked for deletion, until it stops.
  bool IsMarkedForDelete(std::string_view name) const;
  // Every service that exists, upper case, with "running" or "stopped".
  std::vector<std::string> Describe() const;
  // Every call in order: "OpenManager", "CloseManager", "OpenService NAME",
  // "Stop NAME", "Delete NAME", "CloseService NAME" (NAME as the caller
  // spelled it); failed calls too.
  const std::vector<std::string>& Calls() const { return calls_; }

  // Faults: "OpenManager", "OpenService", "Stop", "Delete".
  FaultTable& faults() { return faults_; }

  struct Service {
    std::string name;
    bool running = false;
    bool deleted = false;  // marked for deletion; goes when the last handle closes
    bool denied = false;
    bool refusesStop = false;
    int openHandles = 0;
  };
  // Used by the handles.
  Service* Find(std::string_view name);
  void Record(std::string call) { calls_.push_back(std::move(call)); }
  void Closed(Service& service);

 private:
  std::map<std::string, Service> services_;  // by upper-case name
  std::vector<std::string> calls_;
  FaultTable faults_;
};

}  // namespace scrubber
