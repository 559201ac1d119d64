#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "AdsiDirectory.h"
#include "App.h"
#include "logic/Probe.h"
#include "Win32DirectoryWorkers.h"
#include "Win32ProcessRunner.h"
#include "Win32System.h"

namespace {

// COM for the window's thread lives as long as the windows: every directory
// object of this thread is released before CoUninitialize. Workers have
// apartments of their own; one still in a call at the end is ended with the
// process.
class ComApartment {
 public:
  ComApartment() : ok_(SUCCEEDED(CoInitialize(nullptr))) {}
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  ~ComApartment() {
    if (ok_) CoUninitialize();
  }

 private:
  bool ok_;
};

int RunConsole(HINSTANCE instance) {
  rosterly::AdsiDirectory directory;
  rosterly::Win32FileStore files;
  rosterly::Win32Registry registry;
  rosterly::Win32Environment environment;
  rosterly::Win32ProcessRunner runner;
  rosterly::Probe probe(runner, environment, files);
  rosterly::Win32DirectoryWorkers workers;
  rosterly::App app(instance, {directory, files, registry, probe, workers});
  if (!app.Start()) return 1;
  return app.Run();
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  ComApartment com;
  return RunConsole(instance);
}
