#pragma once
// Scoped owners for every Win32 handle the uninstaller opens, kernel, registry
// and GDI alike: each is closed by its own function when the owner goes.
#include <windows.h>
#include <ddeml.h>

#include <utility>

namespace scrubber::win32 {

template <typename Handle, Handle Invalid, typename Closer>
class Owned {
 public:
  Owned() = default;
  explicit Owned(Handle h) : h_(h) {}
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  Owned(Owned&& other) noexcept : h_(std::exchange(other.h_, Invalid)) {}
  Owned& operator=(Owned&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.h_, Invalid));
    return *this;
  }
  ~Owned() { Reset(); }

  Handle get() const { return h_; }
  bool valid() const { return h_ != Invalid; }
  void Reset(Handle h = Invalid) {
    if (h_ != Invalid) Closer{}(h_);
    h_ = h;
  }

 private:
  Handle h_ = Invalid;
};

struct CloseKey {
  void operator()(HKEY k) const { RegCloseKey(k); }
};
struct CloseService {
  void operator()(SC_HANDLE h) const { CloseServiceHandle(h); }
};
struct CloseKernelHandle {
  void operator()(HANDLE h) const { CloseHandle(h); }
};
struct CloseLibrary {
  void operator()(HMODULE m) const { FreeLibrary(m); }
};
struct CloseDdeConversation {
  void operator()(HCONV c) const { DdeDisconnect(c); }
};
struct CloseDdeInstance {
  void operator()(DWORD id) const { DdeUninitialize(id); }
};
struct DeleteGdiObject {
  void operator()(HGDIOBJ o) const { DeleteObject(o); }
};

// INVALID_HANDLE_VALUE is not a constant expression; these wrappers test
// against it explicitly.
class FindHandle {
 public:
  explicit FindHandle(HANDLE h) : h_(h) {}
  FindHandle(const FindHandle&) = delete;
  FindHandle& operator=(const FindHandle&) = delete;
  ~FindHandle() {
    if (h_ != INVALID_HANDLE_VALUE) FindClose(h_);
  }
  HANDLE get() const { return h_; }
  bool valid() const { return h_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE h_;
};

class FileHandle {
 public:
  explicit FileHandle(HANDLE h = INVALID_HANDLE_VALUE) : h_(h) {}
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  FileHandle(FileHandle&& other) noexcept : h_(std::exchange(other.h_, INVALID_HANDLE_VALUE)) {}
  ~FileHandle() {
    if (h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
  }
  HANDLE get() const { return h_; }
  bool valid() const { return h_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE h_;
};

using RegKey = Owned<HKEY, nullptr, CloseKey>;
using ServiceManager = Owned<SC_HANDLE, nullptr, CloseService>;
using Service = Owned<SC_HANDLE, nullptr, CloseService>;
// Process and thread handles: null, not INVALID_HANDLE_VALUE, means none.
using KernelHandle = Owned<HANDLE, nullptr, CloseKernelHandle>;
using Library = Owned<HMODULE, nullptr, CloseLibrary>;
using DdeConversation = Owned<HCONV, nullptr, CloseDdeConversation>;
using DdeInstance = Owned<DWORD, 0, CloseDdeInstance>;
using AutoDeleteFont = Owned<HFONT, nullptr, DeleteGdiObject>;
using AutoDeleteBrush = Owned<HBRUSH, nullptr, DeleteGdiObject>;
using AutoDeletePalette = Owned<HPALETTE, nullptr, DeleteGdiObject>;
using AutoDeleteBitmap = Owned<HBITMAP, nullptr, DeleteGdiObject>;

// A window's (or, with no window, the screen's) device context.
class ScopedGetDC {
 public:
  explicit ScopedGetDC(HWND window) : window_(window), dc_(GetDC(window)) {}
  ScopedGetDC(const ScopedGetDC&) = delete;
  ScopedGetDC& operator=(const ScopedGetDC&) = delete;
  ~ScopedGetDC() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// BeginPaint and EndPaint around one paint message.
class ScopedPaint {
 public:
  explicit ScopedPaint(HWND window) : window_(window) { dc_ = BeginPaint(window, &ps_); }
  ScopedPaint(const ScopedPaint&) = delete;
  ScopedPaint& operator=(const ScopedPaint&) = delete;
  ~ScopedPaint() { EndPaint(window_, &ps_); }
  HDC get() const { return dc_; }

 private:
  HWND window_;
  PAINTSTRUCT ps_{};
  HDC dc_ = nullptr;
};

// A memory device context, deleted when it goes.
class ScopedMemoryDC {
 public:
  explicit ScopedMemoryDC(HDC compatibleWith) : dc_(CreateCompatibleDC(compatibleWith)) {}
  ScopedMemoryDC(const ScopedMemoryDC&) = delete;
  ScopedMemoryDC& operator=(const ScopedMemoryDC&) = delete;
  ~ScopedMemoryDC() {
    if (dc_) DeleteDC(dc_);
  }
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

// An object selected into a device context for a while; the previous one
// goes back when the owner goes.
class ScopedSelect {
 public:
  ScopedSelect(HDC dc, HGDIOBJ object) : dc_(dc), previous_(object ? SelectObject(dc, object) : nullptr) {}
  ScopedSelect(const ScopedSelect&) = delete;
  ScopedSelect& operator=(const ScopedSelect&) = delete;
  ~ScopedSelect() {
    if (previous_) SelectObject(dc_, previous_);
  }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// A DDE string handle belongs to its instance, which its release needs.
class DdeString {
 public:
  DdeString(DWORD instance, const char* text)
      : instance_(instance), hsz_(DdeCreateStringHandleA(instance, text, CP_WINANSI)) {}
  DdeString(const DdeString&) = delete;
  DdeString& operator=(const DdeString&) = delete;
  ~DdeString() {
    if (hsz_) DdeFreeStringHandle(instance_, hsz_);
  }
  HSZ get() const { return hsz_; }
  bool valid() const { return hsz_ != nullptr; }

 private:
  DWORD instance_;
  HSZ hsz_;
};

}  // namespace scrubber::win32
