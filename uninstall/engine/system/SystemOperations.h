#pragma once
// Changes outside plain files and registry entries: logged programs run and
// waited for, services stopped and deleted, components unregistered (and
// registered again after a rollback), and device lines taken out of
// SYSTEM.INI. All failures are silent.
#include <string>
#include <string_view>

#include "FileOperations.h"
#include "Globals.h"
#include "platform/Platform.h"
#include "run/EngineUi.h"

namespace scrubber {

enum class Registration { Register, Unregister };

// The temporary copy SYSTEM.INI is rewritten through, in the Windows directory.
inline constexpr std::string_view kSystemIniTemp = "~KVRT383.TMP";

class SystemOperations {
 public:
  SystemOperations(Platform& platform, FileOperations& files, EngineUi& ui);

  // Starts the command line and waits without limit for it to end.
  void RunAndWait(std::string_view commandLine);
  // Stops and deletes the service; the caller then lets the manager finish.
  void RemoveService(std::string_view name);
  void SelfRegister(std::string_view prefix, std::string_view path, Registration direction);
  void RemoveDevice(std::string_view path);
  bool IsPeImage(std::string_view path);

  // A command line whose program part still holds a blank (no short names
  // on this volume) gets the longest leading part that names an existing
  // file quoted, so that CreateProcess cannot start "C:\Program.exe"
  // instead. Anything else is returned unchanged.
  std::string QuoteProgramPath(std::string_view commandLine);

 private:
  void EnterDirectoryOf(std::string_view path);
  void CallRegistrationEntry(std::string_view path, Registration direction);
  // Puts the edited copy in SYSTEM.INI's place; one complete text always remains.
  void ReplaceSystemIni(const std::string& iniPath, const std::string& tempPath);

  Platform& platform_;
  [[maybe_unused]] FileOperations& files_;  // shared with the engine; these operations need none of it
  EngineUi& ui_;
};

}  // namespace scrubber
