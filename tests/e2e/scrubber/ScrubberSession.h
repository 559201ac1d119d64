#pragma once
// Scrubber.exe under test in a prefix of its own: every case writes its own
// log and product files under C:\<case>, copies the uninstaller beside them
// and drives the real windows. Nothing here may point outside the prefix.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "Driver.h"

namespace scrubber_e2e {

// Wizard (template 106)
inline constexpr int kTitle = 1005, kUpperText = 1002, kItemList = 1003, kLowerText = 1004, kProgress = 3830,
                     kFirstChoice = 1000, kSecondChoice = 1001, kSelectAll = 3, kSelectNone = 77, kBack = 5,
                     kNext = IDOK, kCancel = IDCANCEL;
// Shared-component question (template 104)
inline constexpr int kSharedText = 1002, kSharedYes = 1007, kSharedNo = 1006, kSharedNoToAll = IDOK;

inline constexpr char kMainClass[] = "KVRTUninstall";
inline constexpr char kSharedCaption[] = "Remove Shared Component";
inline constexpr char kUninstallerName[] = "UNINST.EXE";

// Page titles
inline constexpr char kMethodPage[] = "Select Uninstall Method";
inline constexpr char kRollbackPage[] = "Perform Rollback";
inline constexpr char kReadyPage[] = "Perform Uninstall";

// The folder the harness copied the programs into (C:\e2e).
std::string E2eDir();
std::string E2eFile(const std::string& name);

using testdriver::ReadFileBytes;
using testdriver::WriteFileBytes;
bool Exists(const std::string& path);
// An empty directory at that path (an old one is removed with its files).
bool FreshDir(const std::string& path);
void RemoveTree(const std::string& path);

// An INSTALL.LOG text: one installation header, the title, then the lines,
// each ended by CR LF.
std::string LogText(const std::string& title, const std::vector<std::string>& lines);

// Copies Scrubber.exe into the directory under that name; returns its path.
std::string PlaceUninstaller(const std::string& dir, const std::string& name = kUninstallerName);

bool SetRegString(HKEY root, const std::string& key, const std::string& name, const std::string& value);
bool SetRegDword(HKEY root, const std::string& key, const std::string& name, DWORD value);
bool RegValueExists(HKEY root, const std::string& key, const std::string& name);

// The wizard of that process (a dialog with the page title control).
HWND WaitForWizard(DWORD pid, DWORD timeoutMs = testdriver::kDefaultTimeoutMs);
HWND WaitForMainWindow(DWORD pid);
std::string Text(HWND dialog, int id);
bool Shown(HWND dialog, int id);  // visible and enabled
// Presses a page button and waits for another page title.
bool Turn(HWND wizard, int button);
// Cancel and the answer to "are you sure": Yes ends the program.
bool CancelWizard(HWND wizard, DWORD pid, bool confirm);
// Waits for the exit and checks the code.
bool EndsWithZero(testdriver::Process& process, DWORD timeoutMs = testdriver::kDefaultTimeoutMs);
// Posts a key to the control that has the focus in that window's thread.
void PressKeyInFocus(HWND window, int virtualKey);

// Saves a picture under C:\e2e\shots (the harness takes them out).
void Picture(HWND window, const std::string& name);

}  // namespace scrubber_e2e
