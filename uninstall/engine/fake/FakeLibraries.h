#pragma once
// Dynamic libraries held in memory by path (letter case ignored; the path is
// matched as the caller spells it, so "OLE32.DLL" and "C:\X.DLL" are
// separate names), each with named entry points (export names match
// exactly, letter case included, as GetProcAddress matches them). One log records loads,
// calls and frees in order:
//   "Load C:\X.DLL", "Call DllUnregisterServer", "Free C:\X.DLL"
// (paths as the caller spelled them; a load that fails is logged as
// "Load C:\X.DLL failed"; looking up a name that is not exported logs
// nothing). Any call can be made to fail. Libraries must not outlive it.
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "FaultTable.h"
#include "platform/Libraries.h"

namespace scrubber {

class FakeLibraries : public Libraries {
 public:
  using Entry = std::function<std::int32_t()>;

  FakeLibraries();
  ~FakeLibraries() override;

  // Libraries
  std::unique_ptr<Library> Load(std::string_view path) override;

  // A library that loads, with no exports yet (an existing one keeps its
  // exports).
  void AddLibrary(std::string_view path);
  // Adds (or replaces) an export; makes the library when missing.
  void AddExport(std::string_view path, std::string_view name, Entry entry);
  // Adds an export that logs nothing of its own and answers `result`.
  void AddExport(std::string_view path, std::string_view name, std::int32_t result = 0);
  // "OLE32.DLL" with OleInitialize (answering `initializeResult`) and
  // OleUninitialize.
  void AddOle32(std::int32_t initializeResult = 0);
  // A self-registering component: DllRegisterServer and DllUnregisterServer.
  void AddSelfRegistering(std::string_view path);

  // Everything that happened, in order.
  const std::vector<std::string>& Log() const { return log_; }
  void ClearLog() { log_.clear(); }
  // How many loaded libraries have not been freed yet.
  int LoadedNow() const { return loaded_; }

  // Faults: "Load", "Call".
  FaultTable& faults() { return faults_; }

  // Used by the libraries it hands out.
  void Record(std::string entry) { log_.push_back(std::move(entry)); }
  void Freed() { --loaded_; }
  using Exports = std::map<std::string, Entry>;  // by exact name, as GetProcAddress

 private:
  std::map<std::string, Exports> libraries_;  // by upper-case path
  std::vector<std::string> log_;
  int loaded_ = 0;
  FaultTable faults_;
};

}  // namespace scrubber
