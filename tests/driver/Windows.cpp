#include "Driver.h"

namespace testdriver {
namespace {

struct TopSearch {
  const WindowQuery* query;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectTop(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<TopSearch*>(param);
  const WindowQuery& q = *search->query;
  if (q.visibleOnly && !IsWindowVisible(window)) return TRUE;
  if (q.pid) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != q.pid) return TRUE;
  }
  if (!q.className.empty() && ClassOf(window) != q.className) return TRUE;
  if (!q.title.empty() && TextOf(window) != q.title) return TRUE;
  search->found.push_back(window);
  return TRUE;
}

struct ChildSearch {
  std::string className;
  int skip;
  HWND found = nullptr;
};

BOOL CALLBACK FindClassChild(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<ChildSearch*>(param);
  if (ClassOf(window) != search->className) return TRUE;
  if (search->skip-- > 0) return TRUE;
  search->found = window;
  return FALSE;
}

}  // namespace

std::vector<HWND> FindTopWindows(const WindowQuery& query) {
  TopSearch search{&query, {}};
  EnumWindows(CollectTop, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND WaitForWindow(const WindowQuery& query, DWORD timeoutMs) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        auto windows = FindTopWindows(query);
        if (!windows.empty()) found = windows.front();
        return found != nullptr;
      },
      timeoutMs);
  return found;
}

bool WaitForWindowGone(HWND window, DWORD timeoutMs) {
  return WaitUntil([&] { return !IsWindow(window); }, timeoutMs);
}

HWND FindChildById(HWND parent, int id) { return GetDlgItem(parent, id); }

HWND FindChildByClass(HWND parent, const std::string& className, int index) {
  ChildSearch search{className, index};
  EnumChildWindows(parent, FindClassChild, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::string ClassOf(HWND window) {
  char name[256];
  int length = GetClassNameA(window, name, sizeof name);
  return std::string(name, length > 0 ? static_cast<size_t>(length) : 0);
}

std::string Narrow(const std::wstring& text) {
  if (text.empty()) return {};
  int size = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), narrow.data(), size, nullptr, nullptr);
  return narrow;
}

std::string TextOf(HWND window) {
  // WM_GETTEXT is marshalled across processes, unlike GetWindowText on a
  // control of another process, which would read only the cached caption.
  LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  LRESULT copied = SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied < 0 ? 0 : static_cast<size_t>(copied));
  return Narrow(text);
}

bool IsEnabled(HWND window) { return IsWindowEnabled(window) != 0; }

SIZE ClientSize(HWND window) {
  RECT rect{};
  GetClientRect(window, &rect);
  return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

bool SetText(HWND edit, const std::string& text) {
  if (!SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()))) return false;
  // A combo box tells its parent CBN_EDITCHANGE where an edit says EN_CHANGE.
  WORD code = ClassOf(edit) == "ComboBox" ? CBN_EDITCHANGE : EN_CHANGE;
  SendMessageA(GetParent(edit), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(edit), code), reinterpret_cast<LPARAM>(edit));
  return true;
}

}  // namespace testdriver
