#include "SystemOperations.h"

#include "CanonicalizePath.h"
#include "DeviceLines.h"
#include "PathText.h"
#include "PeImage.h"
#include "ProgramPath.h"
#include "ShortenPath.h"

namespace scrubber {
namespace {

constexpr std::string_view kSystemIni = "SYSTEM.INI";
constexpr std::string_view kOleLibrary = "OLE32.DLL";
constexpr std::string_view kOleInitialize = "OleInitialize";
constexpr std::string_view kOleUninitialize = "OleUninitialize";
constexpr std::string_view kRegisterEntry = "DllRegisterServer";
constexpr std::string_view kUnregisterEntry = "DllUnregisterServer";
constexpr std::string_view kExeSuffix = "EXE";

std::string InDirectory(std::string_view dir, std::string_view name) {
  std::string path(dir);
  if (path.empty() || path.back() != '\\') path += '\\';
  return path.append(name);
}

// A driver in the System directory is named by its path below it.
std::string DeviceNameOf(std::string_view path, std::string_view systemDir) {
  const std::string prefix = InDirectory(systemDir, "");
  if (StartsWithNoCase(path, prefix)) return std::string(path.substr(prefix.size()));
  return std::string(path);
}

std::string_view RegistrationSwitch(Registration direction) {
  return direction == Registration::Register ? " /REGSERVER" : " /UNREGSERVER";
}

}  // namespace

SystemOperations::SystemOperations(Platform& platform, FileOperations& files, EngineUi& ui)
    : platform_(platform), files_(files), ui_(ui) {}

void SystemOperations::RunAndWait(std::string_view commandLine) {
  const auto process = platform_.processes.Start(commandLine);
  if (process) (void)process->Wait();
}

void SystemOperations::RemoveService(std::string_view name) {
  const auto manager = platform_.services.OpenManager();
  if (!manager) return;
  const auto service = manager->OpenByName(name);
  if (!service) return;
  (void)service->Stop();
  (void)service->Delete();
}

std::string SystemOperations::QuoteProgramPath(std::string_view commandLine) {
  return scrubber::QuoteProgramPath(platform_.fs, commandLine);
}

bool SystemOperations::IsPeImage(std::string_view path) { return scrubber::IsPeImage(platform_.fs, path); }

void SystemOperations::SelfRegister(std::string_view prefix, std::string_view path, Registration direction) {
  ui_.ShowProgress(std::string(prefix) + ShortenPath(path, platform_.fs.CodePageLeadBytes()));
  ui_.PumpMessages(0);
  // The component's directory must not stay the current one afterwards: a
  // current directory cannot be removed, and the directory step comes later.
  const std::string previous = platform_.fs.CurrentDirectory();
  EnterDirectoryOf(path);
  if (EndsWithNoCase(path, kExeSuffix)) {
    std::string program(path);
    CanonicalizePath(platform_.fs, program, PathForm::Short);
    RunAndWait(QuoteProgramPath(program + std::string(RegistrationSwitch(direction))));
  } else if (IsPeImage(path)) {
    CallRegistrationEntry(path, direction);
  }
  if (!previous.empty()) (void)platform_.fs.ChangeCurrentDirectory(previous);
}

// A component may look for its companions in the current directory.
void SystemOperations::EnterDirectoryOf(std::string_view path) {
  const std::size_t cut = FindLastBackslash(path, platform_.fs.CodePageLeadBytes());
  if (cut == std::string_view::npos) return;
  std::string dir(path.substr(0, cut));
  // "C:" alone would be the drive's current directory, not its root.
  if (dir.empty() || (dir.size() == 2 && dir[1] == ':')) dir += '\\';
  CanonicalizePath(platform_.fs, dir, PathForm::Short);
  (void)platform_.fs.ChangeCurrentDirectory(dir);
}

void SystemOperations::CallRegistrationEntry(std::string_view path, Registration direction) {
  const auto ole = platform_.libraries.Load(kOleLibrary);
  if (!ole) return;
  // S_FALSE (1), OLE already initialised on this thread, is a success like
  // S_OK; only a success is balanced by OleUninitialize.
  const auto initialized = ole->Call(kOleInitialize, EntryArgs::NullPointer);
  if (!initialized || *initialized < 0) return;
  if (const auto component = platform_.libraries.Load(path)) {
    (void)component->Call(direction == Registration::Register ? kRegisterEntry : kUnregisterEntry, EntryArgs::None);
  }
  (void)ole->Call(kOleUninitialize, EntryArgs::None);
}

void SystemOperations::RemoveDevice(std::string_view path) {
  FileSystem& fs = platform_.fs;
  const std::string windowsDir = fs.WindowsDirectory();
  const std::string iniPath = InDirectory(windowsDir, kSystemIni);
  const std::string tempPath = InDirectory(windowsDir, kSystemIniTemp);
  // A run stopped between taking SYSTEM.INI away and giving the finished
  // copy its name left only the copy: it takes the name first.
  if (!fs.GetAttributes(iniPath) && fs.GetAttributes(tempPath)) (void)fs.RenameFile(tempPath, iniPath);
  bool complete = false;
  int commentedOut = 0;
  {
    const auto in = fs.OpenForReading(iniPath);
    if (!in) return;
    const auto out = fs.CreateForWriting(tempPath);
    if (!out) return;
    DeviceLineCopier copier(*out, DeviceNameOf(path, fs.SystemDirectory()), path);
    complete = CopyThrough(*in, copier);
    commentedOut = copier.commentedOut();
  }
  if (!complete || commentedOut == 0) {
    (void)fs.EraseFile(tempPath);
    return;
  }
  ReplaceSystemIni(iniPath, tempPath);
}

void SystemOperations::ReplaceSystemIni(const std::string& iniPath, const std::string& tempPath) {
  FileSystem& fs = platform_.fs;
  if (!fs.EraseFile(iniPath)) {
    (void)fs.EraseFile(tempPath);  // SYSTEM.INI is still whole
    return;
  }
  if (fs.RenameFile(tempPath, iniPath)) return;
  // SYSTEM.INI has gone and the copy could not take its name: copy it over
  // instead, and keep the copy when even that fails, as the only text left.
  if (fs.CopyOver(tempPath, iniPath)) (void)fs.EraseFile(tempPath);
}

}  // namespace scrubber
