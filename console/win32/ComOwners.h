#pragma once
// Scoped owners for COM interface pointers, BSTRs, VARIANTs and SAFEARRAYs:
// whatever the directory code obtains is released on every path out.
#include <windows.h>
#include <oleauto.h>

#include <utility>

namespace rosterly {

template <class T>
class ComRef {
 public:
  ComRef() = default;
  explicit ComRef(T* adopted) : p_(adopted) {}
  ~ComRef() { reset(); }
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
  template <class U>
  HRESULT As(REFIID iid, ComRef<U>& out) const {
    if (!p_) return E_POINTER;
    return p_->QueryInterface(iid, out.putVoid());
  }

 private:
  T* p_ = nullptr;
};

class BstrOwner {
 public:
  BstrOwner() = default;
  explicit BstrOwner(BSTR adopted) : b_(adopted) {}
  ~BstrOwner() { reset(); }
  BstrOwner(const BstrOwner&) = delete;
  BstrOwner& operator=(const BstrOwner&) = delete;
  BstrOwner(BstrOwner&& other) noexcept : b_(std::exchange(other.b_, nullptr)) {}
  BstrOwner& operator=(BstrOwner&& other) noexcept {
    if (this != &other) {
      reset();
      b_ = std::exchange(other.b_, nullptr);
    }
    return *this;
  }

  BSTR get() const { return b_; }
  BSTR* put() {
    reset();
    return &b_;
  }
  // Hands the string over, e.g. into a VARIANT that frees it.
  BSTR release() { return std::exchange(b_, nullptr); }
  void reset() {
    if (b_) SysFreeString(std::exchange(b_, nullptr));
  }

 private:
  BSTR b_ = nullptr;
};

class VariantOwner {
 public:
  VariantOwner() { VariantInit(&v_); }
  ~VariantOwner() { VariantClear(&v_); }
  VariantOwner(const VariantOwner&) = delete;
  VariantOwner& operator=(const VariantOwner&) = delete;

  VARIANT& get() { return v_; }
  VARIANT* put() {
    VariantClear(&v_);
    return &v_;
  }

 private:
  VARIANT v_;
};

class SafeArrayOwner {
 public:
  explicit SafeArrayOwner(SAFEARRAY* adopted) : a_(adopted) {}
  ~SafeArrayOwner() {
    if (a_) SafeArrayDestroy(a_);
  }
  SafeArrayOwner(const SafeArrayOwner&) = delete;
  SafeArrayOwner& operator=(const SafeArrayOwner&) = delete;

  SAFEARRAY* get() const { return a_; }
  SAFEARRAY* release() { return std::exchange(a_, nullptr); }

 private:
  SAFEARRAY* a_;
};

}  // namespace rosterly
