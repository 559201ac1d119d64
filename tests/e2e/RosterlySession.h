#pragma once
// A Rosterly.exe under test: the test directory provider registered in this
// prefix, a fixture file of the test's own, the program started on it, and
// the ids of its windows' controls.
#include <windows.h>

#include <string>
#include <vector>

#include "Driver.h"

namespace rosterly_e2e {

// frmdomainlogin
inline constexpr int kCombo1 = 1003, kDomainOk = 1004, kDomainCancel = 1005, kDomainLabel1 = 1002;
// Form1
inline constexpr int kLabel5 = 2001, kLabel1 = 2002, kLabel2 = 2003, kLstComps = 2004, kLstGroups = 2005,
                     kLabel3 = 2006, kTxtLocalGroup = 2007, kLabel4 = 2008, kFrame = 2009, kOpt0 = 2010,
                     kOpt1 = 2011, kOpt2 = 2012, kExecute = 2013, kLvGroups = 2014, kSbar = 2015;
inline constexpr int kMnuLoad = 3001, kMnuRefresh = 3002, kMnuResults = 3003, kMnuExit = 3004,
                     kMnuClearResults = 3005, kMnuContents = 3006, kMnuAbout = 3007, kMnuPreview = 3008,
                     kMnuUndo = 3009;
// frmAbout
inline constexpr int kCmdOK = IDOK, kLblTitle = 4002, kLblVersion = 4003, kLblDescription = 4004,
                     kWebLabel = 4007, kCmdSysInfo = 4009;

// Pixels of a twips length on this display.
int PxX(int twips);
int PxY(int twips);

// A window's rectangle relative to its parent's client area.
RECT RectInParent(HWND control);

// A file in this prefix's temporary directory.
std::string TempPath(const std::string& name);
using testdriver::ReadFileBytes;
using testdriver::WriteFileBytes;

class Session {
 public:
  // Registers the provider (once per process) and writes the fixture.
  explicit Session(const std::string& fixtureText, const std::string& fixtureName = "fixture.txt");
  ~Session();

  bool Start();  // the program, up to its Domain Selection dialog
  // Types the domain, presses OK and waits for the main window and its fill.
  bool OpenMain(const std::string& domain, bool waitForFill = true);
  bool WaitForFill();

  testdriver::Process& process() { return *process_; }
  DWORD pid() const { return process_ ? process_->pid() : 0; }
  HWND domainDialog() const { return domain_; }
  HWND main() const { return main_; }
  HWND Control(int id) const { return testdriver::FindChildById(main_, id); }
  std::string FixtureText() const { return ReadFileBytes(fixturePath_); }
  const std::string& fixturePath() const { return fixturePath_; }

  // Selects exactly these entries of a list box, by text.
  bool SelectOnly(int listId, const std::vector<std::string>& names);
  // Clicks an action's option button, waits until it is checked and types
  // the local group name.
  bool ChooseAction(int option, const std::string& localGroup);
  // Runs Execute Command and waits for the status to return to "Ready".
  bool Execute(DWORD timeoutMs = 120000);
  std::string Status() const { return testdriver::TextOf(Control(kSbar)); }
  std::vector<std::vector<std::string>> Rows() const { return testdriver::ListViewRows(Control(kLvGroups)); }

  // Saves a picture of the window under the screenshot folder.
  void Picture(HWND window, const std::string& name) const;

 private:
  std::string fixturePath_;
  std::optional<testdriver::Process> process_;
  HWND domain_ = nullptr;
  HWND main_ = nullptr;
};

}  // namespace rosterly_e2e
