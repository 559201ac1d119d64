#pragma once
// Environment, whole files, registry reading and program starting through the
// ANSI Win32 API.
#include <windows.h>

#include "platform/Environment.h"
#include "platform/FileStore.h"
#include "platform/ProgramStarter.h"
#include "platform/Registry.h"

namespace rosterly {

class Win32Environment : public Environment {
 public:
  Result<std::string> TempDirectory() override;
  Result<std::string> SystemDirectory() override;
  std::uint32_t ProcessId() override;
};

class Win32FileStore : public FileStore {
 public:
  Result<std::string> ReadWholeFile(std::string_view path) override;
  Status WriteWholeFile(std::string_view path, std::string_view bytes) override;
  bool FileExists(std::string_view path) override;
  Result<std::string> NewFileBeside(std::string_view path) override;
  Status MoveReplacing(std::string_view from, std::string_view to) override;
  Status RemoveFile(std::string_view path) override;
};

class Win32Registry : public Registry {
 public:
  Result<std::unique_ptr<RegistryKey>> OpenKey(RegRoot root, std::string_view subKey,
                                               std::uint32_t access) override;
};

class Win32ProgramStarter : public ProgramStarter {
 public:
  explicit Win32ProgramStarter(HWND owner = nullptr) : owner_(owner) {}
  void SetOwner(HWND owner) { owner_ = owner; }
  Status StartProgram(std::string_view path) override;
  Status OpenWithShell(std::string_view verb, std::string_view target) override;

 private:
  HWND owner_;
};

}  // namespace rosterly
