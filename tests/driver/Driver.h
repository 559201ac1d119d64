#pragma once
// Win32 test driver: runs inside Wine beside the program under test and works
// its real windows through messages, never through screen coordinates.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace testdriver {

inline constexpr DWORD kDefaultTimeoutMs = 15000;

// Polls `condition` every few milliseconds until it holds or time runs out.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = kDefaultTimeoutMs);

// A Wine prefix can briefly run two service managers, each loaded from the
// registry when it started; a service created in one is unknown to the
// other. Waits (up to a minute) until only one is left.
void WaitForOneServiceManager();
// Starts the service, waiting out a service manager that is still starting;
// false (with the last error set) when it cannot be started.
bool StartServiceWhenReady(SC_HANDLE service);

// A whole file written (created or truncated) or read; reading shares the
// file with writers, so a file the program under test holds can be read.
bool WriteFileBytes(const std::string& path, const std::string& bytes);
std::optional<std::string> ReadFileIfReadable(const std::string& path);
std::string ReadFileBytes(const std::string& path);  // empty when unreadable
// The bytes of a program's resource, read without running the program;
// empty when it has none.
std::string ResourceBytes(const std::string& module, int type, int id);

// A Unix absolute path ("/a/b") as Wine shows it ("Z:\a\b"); others unchanged.
std::string FromHostPath(const std::string& path);
// An environment variable's value, empty when unset.
std::string Env(const char* name);

// A started program; terminated on destruction unless it has exited.
class Process {
 public:
  static std::optional<Process> Start(const std::string& exe, const std::string& arguments = "",
                                      const std::string& directory = "");
  Process(Process&& other) noexcept;
  Process& operator=(Process&& other) noexcept;
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;
  ~Process();

  DWORD pid() const { return pid_; }
  HANDLE handle() const { return process_; }
  bool WaitForExit(DWORD timeoutMs, DWORD* exitCode = nullptr);
  bool Running() const;

 private:
  Process(HANDLE process, DWORD pid) : process_(process), pid_(pid) {}
  void Close();
  HANDLE process_ = nullptr;
  DWORD pid_ = 0;
};

struct WindowQuery {
  std::string className;  // empty: any
  std::string title;      // empty: any; else exact match
  DWORD pid = 0;          // 0: any process
  bool visibleOnly = true;
};

std::vector<HWND> FindTopWindows(const WindowQuery& query);
HWND WaitForWindow(const WindowQuery& query, DWORD timeoutMs = kDefaultTimeoutMs);
bool WaitForWindowGone(HWND window, DWORD timeoutMs = kDefaultTimeoutMs);

HWND FindChildById(HWND parent, int id);
// The index-th descendant of that class (0 = first in creation order).
HWND FindChildByClass(HWND parent, const std::string& className, int index = 0);

// UTF-16 to the ANSI code page.
std::string Narrow(const std::wstring& text);

std::string ClassOf(HWND window);
std::string TextOf(HWND window);
bool IsEnabled(HWND window);
// Client size in pixels.
SIZE ClientSize(HWND window);

// Sets the text as typing would: WM_SETTEXT and the parent's EN_CHANGE.
bool SetText(HWND edit, const std::string& text);

std::vector<std::string> ListBoxItems(HWND listBox);
std::vector<int> ListBoxSelection(HWND listBox);
// Selects or deselects one item (multi-selection aware) and notifies the parent.
bool ListBoxSelect(HWND listBox, int index, bool selected = true);

std::vector<std::string> ComboItems(HWND combo);
int ComboSelection(HWND combo);
bool ComboSelect(HWND combo, int index);

// List views are read across processes through memory in the target process.
int ListViewRowCount(HWND listView);
std::vector<std::string> ListViewRow(HWND listView, int row, int columns);
std::vector<std::vector<std::string>> ListViewRows(HWND listView);
std::vector<std::string> ListViewHeaders(HWND listView);
// A header click as the list view reports it to its parent (LVN_COLUMNCLICK).
bool ListViewClickHeader(HWND listView, int column);

// Posted, so that a click that opens a modal box does not block the driver.
void Click(HWND button);
void MenuCommand(HWND window, int commandId);
void PressKey(HWND target, int virtualKey);

struct MessageBoxInfo {
  HWND window = nullptr;
  std::string title;
  std::string text;
  std::vector<std::pair<int, std::string>> buttons;  // control id, caption
  bool hasIcon = false;
};
// The first message box shown by that process (0: any process).
std::optional<MessageBoxInfo> WaitForMessageBox(DWORD pid, DWORD timeoutMs = kDefaultTimeoutMs);
// Presses the button with that id (IDOK, IDYES, ...) and waits for the box to close.
bool AnswerMessageBox(const MessageBoxInfo& box, int buttonId);

// The common open or save dialog that process shows (0: any process).
struct FileDialogInfo {
  HWND window = nullptr;
  std::string title;
  std::vector<std::string> fileTypes;  // the "Files of type" entries
};
std::optional<FileDialogInfo> WaitForFileDialog(DWORD pid, DWORD timeoutMs = kDefaultTimeoutMs);
// Types the name into the file name field, presses OK, waits for the dialog to close.
bool AnswerFileDialog(const FileDialogInfo& dialog, const std::string& windowsPath);
bool CancelFileDialog(const FileDialogInfo& dialog);

// What the display shows of a window's client area, row by row; parts that
// other windows cover show those windows.
struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<COLORREF> values;
  // CLR_INVALID outside the area.
  COLORREF At(int x, int y) const;
};
Pixels PixelsOf(HWND window);

// Saves what the display shows of the window (frame included) as a PNG file.
bool SaveWindowPicture(HWND window, const std::string& pngPath);

}  // namespace testdriver
