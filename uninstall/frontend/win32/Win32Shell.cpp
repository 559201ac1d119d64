#include "Win32Shell.h"

#include <commdlg.h>

#include <cstring>
#include <string>

#include "InstanceCounter.h"
#include "LogonCheck.h"
#include "scrubber_ids.h"

namespace scrubber {
namespace {

constexpr DWORD kLogDialogFlags = OFN_FILEMUSTEXIST;
static_assert(kLogDialogFlags == 0x1000);
constexpr int kLogNameCapacity = 256;
constexpr DWORD kAnyRestartReason = 0xFFFFFFFF;

// InstallStatusMIF: seven texts and the status; the callee removes them.
using StatusFunction = int(WINAPI*)(const char*, const char*, const char*, const char*, const char*, const char*,
                                    const char*, int);

}  // namespace

void Win32Shell::ShowMessage(int, int, std::string_view text, std::string_view caption) {
  (void)ShowMessageBox(text, caption, MB_OK, BoxOwner::MainWindow);
}

void Win32Shell::SetMainTitle(std::string_view title) {
  if (main_.handle()) SetWindowTextA(main_.handle(), std::string(title).c_str());
}

void Win32Shell::DisableImeUnlessInteractive() { ::DisableImeUnlessInteractive(); }

std::string Win32Shell::ModulePath() {
  char path[MAX_PATH] = {};
  const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  return n == 0 || n >= MAX_PATH ? std::string() : std::string(path, n);
}

std::string Win32Shell::TempFileName(std::string_view directory, std::string_view prefix, unsigned unique) {
  char name[MAX_PATH] = {};
  if (!GetTempFileNameA(std::string(directory).c_str(), std::string(prefix).c_str(), unique, name)) return {};
  return name;
}

unsigned Win32Shell::RunNumber() {
  // The process id tells concurrent runs apart, the clock successive ones.
  const unsigned number = (GetCurrentProcessId() * 0x9E3Bu ^ GetTickCount()) & 0xFFFFu;
  return number == 0 ? 1 : number;
}

void Win32Shell::LoadWizardBitmap() { bitmap_.Reset(LoadBitmapA(instance_, MAKEINTRESOURCEA(IDB_WIZARD))); }

void Win32Shell::ReleaseWizardBitmap() { bitmap_.Reset(); }

bool Win32Shell::EnterInstance() { return EnterInstanceCounter(); }

void Win32Shell::LeaveInstance() { LeaveInstanceCounter(); }

HWND Win32Shell::OwnerWindow(BoxOwner owner) const {
  switch (owner) {
    case BoxOwner::Wizard:
      if (wizard_ && wizard_->handle()) return wizard_->handle();
      return main_.handle();
    case BoxOwner::MainWindow:
      return main_.handle();
    default:
      return nullptr;
  }
}

int Win32Shell::ShowMessageBox(std::string_view text, std::string_view caption, unsigned type, BoxOwner owner) {
  return MessageBoxA(OwnerWindow(owner), std::string(text).c_str(), std::string(caption).c_str(), type);
}

void Win32Shell::InitAppearance(const AppearanceSettings& settings) { appearance_.Init(settings); }

void Win32Shell::DeleteFonts() { appearance_.DeleteFonts(); }

void Win32Shell::DeletePalette() { appearance_.DeletePalette(); }

bool Win32Shell::CreateMainWindow(std::string_view caption, bool show) {
  if (!main_.Create(instance_, caption)) return false;
  if (show) {
    ShowWindow(main_.handle(), SW_SHOWMAXIMIZED);
    UpdateWindow(main_.handle());
  }
  return true;
}

void Win32Shell::CloseMainWindow() { main_.Close(); }

void Win32Shell::WaitOneSecond() { main_.Wait(1000, nullptr); }

void Win32Shell::LoadControlLibrary(bool autoSubclass) { controls_.Load(instance_, autoSubclass); }

void Win32Shell::UnloadControlLibrary() { controls_.Unload(); }

std::string Win32Shell::AskForLog(std::string_view filterText) {
  // "<description>\0install.log\0\0"
  std::string filter(filterText);
  filter.push_back('\0');
  filter += "install.log";
  filter.push_back('\0');
  filter.push_back('\0');
  char name[kLogNameCapacity] = "INSTALL.LOG";
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = main_.handle();
  ofn.lpstrFilter = filter.c_str();
  ofn.lpstrFile = name;
  ofn.nMaxFile = kLogNameCapacity;
  ofn.Flags = kLogDialogFlags;
  if (!GetOpenFileNameA(&ofn)) return {};
  return name;
}

void Win32Shell::SetWaitCursor(bool wait) {
  if (wait) {
    previousCursor_ = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
  } else {
    SetCursor(previousCursor_ ? previousCursor_ : LoadCursorA(nullptr, IDC_ARROW));
  }
}

bool Win32Shell::CreateWizard(UninstallModel& model, const MsgStrings& strings) {
  EnableWindow(main_.handle(), FALSE);
  WizardContext context{instance_, globals_, strings, appearance_, controls_, main_, bitmap_.get()};
  wizard_ = std::make_unique<Wizard>(context, model);
  if (wizard_->Create()) return true;
  wizard_.reset();
  return false;
}

void Win32Shell::WaitForWizard() {
  MSG msg;
  while (!globals_.cancelRequested && !globals_.uninstallConfirmed) {
    if (GetMessageA(&msg, nullptr, 0, 0) <= 0) {
      // The session is ending under us: nothing was confirmed.
      globals_.cancelRequested = 1;
      PostQuitMessage(0);
      return;
    }
    DispatchOne(msg, wizard_ ? wizard_->handle() : nullptr);
  }
}

EngineUi& Win32Shell::WizardUi() { return wizard_ ? static_cast<EngineUi&>(*wizard_) : silent_; }

void Win32Shell::DestroyWizard() {
  if (wizard_) wizard_->Destroy();
  wizard_.reset();
}

void Win32Shell::BroadcastSettingsChange() { PostMessageA(HWND_BROADCAST, WM_WININICHANGE, 0, 0); }

void Win32Shell::ReportStatus(const StatusReport& report) {
  HMODULE runtime = LoadLibraryA(report.runtimeLibrary.c_str());
  if (!runtime) return;
  HMODULE status = LoadLibraryA(report.statusLibrary.c_str());
  if (!status) {
    FreeLibrary(runtime);
    return;
  }
  auto call = reinterpret_cast<StatusFunction>(reinterpret_cast<void*>(GetProcAddress(status, "InstallStatusMIF")));
  if (!call) {
    FreeLibrary(status);
    FreeLibrary(runtime);
    return;
  }
  const HeaderRecord& h = *report.header;
  // A zero answer keeps both libraries loaded, as the reporting library may
  // still be working.
  if (call(h.mifName.c_str(), h.manufacturer.c_str(), h.product.c_str(), h.version.c_str(), "",
           h.serialNumber.c_str(), "", report.status) != 0) {
    FreeLibrary(status);
    FreeLibrary(runtime);
  }
}

bool Win32Shell::WriteRestartHelper(std::string_view path) {
  HRSRC info = FindResourceA(instance_, MAKEINTRESOURCEA(IDR_RESTART_HELPER), MAKEINTRESOURCEA(RT_RESTART_HELPER));
  if (!info) return false;
  HGLOBAL loaded = LoadResource(instance_, info);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  const DWORD size = SizeofResource(instance_, info);
  if (!bytes || size == 0) return false;
  const std::string name(path);
  bool whole = false;
  {
    win32::FileHandle file(
        CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return false;
    DWORD written = 0;
    whole = WriteFile(file.get(), bytes, size, &written, nullptr) && written == size && FlushFileBuffers(file.get());
  }
  // A cut program must never be started: what was written goes.
  if (!whole) (void)DeleteFileA(name.c_str());
  return whole;
}

void Win32Shell::StartProgram(std::string_view commandLine) {
  std::string command(commandLine);
  STARTUPINFOA si{};
  si.cb = sizeof(si);
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = SW_SHOW;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return;
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
}

static_assert(kExitRestart == EWX_REBOOT);

void Win32Shell::RestartSystem(unsigned exitFlags) { (void)ExitWindowsEx(exitFlags, kAnyRestartReason); }

}  // namespace scrubber
