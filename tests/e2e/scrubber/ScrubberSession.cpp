#include "ScrubberSession.h"

#include <gtest/gtest.h>

namespace scrubber_e2e {

using testdriver::FindChildById;
using testdriver::TextOf;
using testdriver::WaitUntil;

std::string E2eDir() {
  const std::string dir = testdriver::Env("SCRUBBER_E2E_DIR");
  return dir.empty() ? "C:\\e2e" : dir;
}

std::string E2eFile(const std::string& name) { return E2eDir() + "\\" + name; }

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void RemoveTree(const std::string& path) {
  WIN32_FIND_DATAA found;
  HANDLE scan = FindFirstFileA((path + "\\*").c_str(), &found);
  if (scan != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      const std::string child = path + "\\" + name;
      SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(child);
      } else {
        DeleteFileA(child.c_str());
      }
    } while (FindNextFileA(scan, &found));
    FindClose(scan);
  }
  RemoveDirectoryA(path.c_str());
}

bool FreshDir(const std::string& path) {
  RemoveTree(path);
  return CreateDirectoryA(path.c_str(), nullptr) != 0;
}

std::string LogText(const std::string& title, const std::vector<std::string>& lines) {
  std::string text = "***  Installation Started 12/07/2026 09:00\r\nTitle: " + title + "\r\n";
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

std::string PlaceUninstaller(const std::string& dir, const std::string& name) {
  const std::string path = dir + "\\" + name;
  EXPECT_TRUE(CopyFileA(E2eFile("Scrubber.exe").c_str(), path.c_str(), FALSE)) << path;
  return path;
}

bool SetRegString(HKEY root, const std::string& key, const std::string& name, const std::string& value) {
  HKEY handle = nullptr;
  if (RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle, nullptr) != ERROR_SUCCESS)
    return false;
  const LONG rc = RegSetValueExA(handle, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                 static_cast<DWORD>(value.size() + 1));
  RegCloseKey(handle);
  return rc == ERROR_SUCCESS;
}

bool SetRegDword(HKEY root, const std::string& key, const std::string& name, DWORD value) {
  HKEY handle = nullptr;
  if (RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle, nullptr) != ERROR_SUCCESS)
    return false;
  const LONG rc = RegSetValueExA(handle, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                                 sizeof value);
  RegCloseKey(handle);
  return rc == ERROR_SUCCESS;
}

bool RegValueExists(HKEY root, const std::string& key, const std::string& name) {
  HKEY handle = nullptr;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS) return false;
  const LONG rc = RegQueryValueExA(handle, name.c_str(), nullptr, nullptr, nullptr, nullptr);
  RegCloseKey(handle);
  return rc == ERROR_SUCCESS;
}

HWND WaitForWizard(DWORD pid, DWORD timeoutMs) {
  HWND wizard = nullptr;
  WaitUntil(
      [&] {
        for (HWND window : testdriver::FindTopWindows({"#32770", "", pid, true})) {
          if (FindChildById(window, kTitle) && FindChildById(window, kItemList)) wizard = window;
        }
        return wizard != nullptr;
      },
      timeoutMs);
  return wizard;
}

HWND WaitForMainWindow(DWORD pid) { return testdriver::WaitForWindow({kMainClass, "", pid}); }

std::string Text(HWND dialog, int id) { return TextOf(FindChildById(dialog, id)); }

bool Shown(HWND dialog, int id) {
  HWND control = FindChildById(dialog, id);
  return control && IsWindowVisible(control) && IsWindowEnabled(control);
}

bool Turn(HWND wizard, int button) {
  const std::string before = Text(wizard, kTitle);
  testdriver::Click(FindChildById(wizard, button));
  return WaitUntil([&] { return Text(wizard, kTitle) != before; }, 5000);
}

bool CancelWizard(HWND wizard, DWORD pid, bool confirm) {
  testdriver::Click(FindChildById(wizard, kCancel));
  const auto box = testdriver::WaitForMessageBox(pid, 5000);
  if (!box) return false;
  EXPECT_EQ(box->text, "Are you sure you want to cancel the uninstall?");
  EXPECT_EQ(box->title, "Uninstall");
  return testdriver::AnswerMessageBox(*box, confirm ? IDYES : IDNO);
}

bool EndsWithZero(testdriver::Process& process, DWORD timeoutMs) {
  DWORD code = 1;
  return process.WaitForExit(timeoutMs, &code) && code == 0;
}

void PressKeyInFocus(HWND window, int virtualKey) {
  GUITHREADINFO gui{};
  gui.cbSize = sizeof gui;
  HWND target = window;
  if (GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &gui) && gui.hwndFocus) target = gui.hwndFocus;
  testdriver::PressKey(target, virtualKey);
}

void Picture(HWND window, const std::string& name) {
  const std::string folder = E2eFile("shots");
  CreateDirectoryA(folder.c_str(), nullptr);
  // Let the window finish painting what the last step changed.
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  Sleep(200);
  EXPECT_TRUE(testdriver::SaveWindowPicture(window, folder + "\\" + name + ".png")) << name;
}

}  // namespace scrubber_e2e
