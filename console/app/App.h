#pragma once
// The console's windows and the services they share. Counts the open
// windows: the process ends when the last one closes.
#include <windows.h>

#include <memory>
#include <vector>

#include "logic/Globals.h"
#include "logic/Probe.h"
#include "platform/Directory.h"
#include "platform/DirectoryWorkers.h"
#include "platform/FileStore.h"
#include "platform/Registry.h"

namespace rosterly {

class DomainSelectionWindow;
class MainWindow;
class AboutWindow;

struct AppServices {
  Directory& directory;
  FileStore& files;
  Registry& registry;
  Probe& probe;
  DirectoryWorkers& workers;
};

class App {
 public:
  App(HINSTANCE instance, AppServices services);
  ~App();

  bool Start();  // shows the Domain Selection dialog
  int Run();     // the message loop, until the last window has closed

  void OpenMainWindow();
  void ShowAbout();  // one About box: a second request brings it forward

  // Every window reports its creation and destruction.
  void WindowOpened() { ++openWindows_; }
  void WindowClosed();

  // Keyboard handling that must run before dispatch (dialog navigation,
  // Enter in Combo1, Enter and Escape in the About box).
  bool PreTranslate(MSG& msg);
  // Dispatches what waits in the queue, once; a quit request is kept.
  void ProcessPendingEvents();

  HINSTANCE instance() const { return instance_; }
  Globals& globals() { return globals_; }
  AppServices& services() { return services_; }

 private:
  HINSTANCE instance_;
  AppServices services_;
  Globals globals_;
  int openWindows_ = 0;
  HWND aboutOwner_ = nullptr;  // hidden: keeps the About box off the task bar
  std::unique_ptr<DomainSelectionWindow> domain_;
  std::unique_ptr<MainWindow> main_;
  // Windows live until the loop ends, so that a window closed in the middle
  // of its own command never runs on freed memory.
  std::vector<std::unique_ptr<AboutWindow>> abouts_;
};

}  // namespace rosterly
