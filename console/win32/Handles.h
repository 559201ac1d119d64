#pragma once
// Scoped owners for everything the console obtains from the system: kernel
// handles, process attribute lists, registry keys, GDI objects and device
// contexts, COM interface pointers, BSTRs, VARIANTs and SAFEARRAYs. Each is
// released by its own function on every path out.
#include <windows.h>
#include <oleauto.h>

#include <utility>
#include <vector>

namespace rosterly {

// A handle with a single "none" value and a function that releases it.
template <typename Handle, typename Closer>
class Owned {
 public:
  Owned() = default;
  explicit Owned(Handle adopted) : h_(adopted) {}
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  Owned(Owned&& other) noexcept : h_(std::exchange(other.h_, Handle{})) {}
  Owned& operator=(Owned&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.h_, Handle{}));
    return *this;
  }
  ~Owned() { Reset(); }

  Handle get() const { return h_; }
  explicit operator bool() const { return h_ != Handle{}; }
  // For out parameters: releases what is held first.
  Handle* put() {
    Reset();
    return &h_;
  }
  // Hands the handle over, e.g. to a function that closes it itself.
  Handle Release() { return std::exchange(h_, Handle{}); }
  void Reset(Handle h = Handle{}) {
    if (h_ != Handle{}) Closer{}(h_);
    h_ = h;
  }

 private:
  Handle h_{};
};

struct CloseKernelHandle {
  void operator()(HANDLE h) const { CloseHandle(h); }
};
struct CloseKey {
  void operator()(HKEY k) const { RegCloseKey(k); }
};
struct DeleteGdiObject {
  void operator()(HGDIOBJ o) const { DeleteObject(o); }
};
struct FreeBstr {
  void operator()(BSTR b) const { SysFreeString(b); }
};
struct DestroySafeArray {
  void operator()(SAFEARRAY* a) const { SafeArrayDestroy(a); }
};

using RegKey = Owned<HKEY, CloseKey>;
using AutoDeleteFont = Owned<HFONT, DeleteGdiObject>;
using AutoDeleteBrush = Owned<HBRUSH, DeleteGdiObject>;
using BstrOwner = Owned<BSTR, FreeBstr>;
using SafeArrayOwner = Owned<SAFEARRAY*, DestroySafeArray>;

// An exclusive hold on a slim reader/writer lock, released on every path out.
class ScopedExclusiveLock {
 public:
  explicit ScopedExclusiveLock(SRWLOCK& lock) : lock_(lock) { AcquireSRWLockExclusive(&lock_); }
  ScopedExclusiveLock(const ScopedExclusiveLock&) = delete;
  ScopedExclusiveLock& operator=(const ScopedExclusiveLock&) = delete;
  ~ScopedExclusiveLock() { ReleaseSRWLockExclusive(&lock_); }

 private:
  SRWLOCK& lock_;
};

// Files, processes and threads. CreateFile reports failure with
// INVALID_HANDLE_VALUE, the others with null: both are held as none.
class ScopedHandle : public Owned<HANDLE, CloseKernelHandle> {
 public:
  ScopedHandle() = default;
  explicit ScopedHandle(HANDLE h) : Owned(h == INVALID_HANDLE_VALUE ? nullptr : h) {}
};

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

// The attribute list of a process to be created (STARTUPINFOEX), for
// `count` attributes; check with operator bool, as the system may refuse it.
class AttributeList {
 public:
  explicit AttributeList(DWORD count) {
    SIZE_T size = 0;
    InitializeProcThreadAttributeList(nullptr, count, 0, &size);
    buffer_.resize(size);
    if (size > 0 && InitializeProcThreadAttributeList(get(), count, 0, &size)) initialised_ = true;
  }
  AttributeList(const AttributeList&) = delete;
  AttributeList& operator=(const AttributeList&) = delete;
  ~AttributeList() {
    if (initialised_) DeleteProcThreadAttributeList(get());
  }
  explicit operator bool() const { return initialised_; }
  LPPROC_THREAD_ATTRIBUTE_LIST get() { return reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(buffer_.data()); }

 private:
  std::vector<unsigned char> buffer_;
  bool initialised_ = false;
};

// A COM interface pointer: one reference, released when the owner goes.
template <class T>
class ComRef {
 public:
  ComRef() = default;
  explicit ComRef(T* adopted) : p_(adopted) {}
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  ComRef(ComRef&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  ComRef& operator=(ComRef&& other) noexcept {
    if (this != &other) {
      reset();
      p_ = std::exchange(other.p_, nullptr);
    }
    return *this;
  }
  ~ComRef() { reset(); }

  T* get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  // For out parameters: releases what is held first.
  T** put() {
    reset();
    return &p_;
  }
  void** putVoid() { return reinterpret_cast<void**>(put()); }
  void reset() {
    if (p_) std::exchange(p_, nullptr)->Release();
  }

  // Asks the held object for another interface.
  // A provider's success that hands out nothing is a failure here.
  template <class U>
  HRESULT As(REFIID iid, ComRef<U>& out) const {
    if (!p_) return E_POINTER;
    const HRESULT hr = p_->QueryInterface(iid, out.putVoid());
    if (SUCCEEDED(hr) && !out) return E_POINTER;
    return hr;
  }

 private:
  T* p_ = nullptr;
};

// A VARIANT, cleared (and whatever it holds released) when the owner goes.
class VariantOwner {
 public:
  VariantOwner() { VariantInit(&v_); }
  VariantOwner(const VariantOwner&) = delete;
  VariantOwner& operator=(const VariantOwner&) = delete;
  ~VariantOwner() { VariantClear(&v_); }

  VARIANT& get() { return v_; }
  VARIANT* put() {
    VariantClear(&v_);
    return &v_;
  }

 private:
  VARIANT v_;
};

}  // namespace rosterly
