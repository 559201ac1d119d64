#pragma once
// Small pieces every COM object of the provider shares: text conversion,
// the module's object count and IDispatch without type information (the
// console binds through the vtables only).
#include <windows.h>
#include <oleauto.h>

#include <atomic>
#include <string>

namespace rosterly::testdir {

// Live objects and server locks, for DllCanUnloadNow.
extern std::atomic<long> g_objects;

inline BSTR ToBstr(const std::string& text) {
  const int length = static_cast<int>(text.size());
  const int wide = length ? MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0) : 0;
  BSTR result = SysAllocStringLen(nullptr, static_cast<UINT>(wide));
  if (result && wide) MultiByteToWideChar(CP_ACP, 0, text.data(), length, result, wide);
  return result;
}

inline std::string FromBstr(BSTR text) {
  const int wide = text ? static_cast<int>(SysStringLen(text)) : 0;
  if (wide == 0) return std::string();
  const int bytes = WideCharToMultiByte(CP_ACP, 0, text, wide, nullptr, 0, nullptr, nullptr);
  std::string result(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(CP_ACP, 0, text, wide, result.data(), bytes, nullptr, nullptr);
  return result;
}

inline HRESULT ReturnString(const std::string& text, BSTR* out) {
  if (!out) return E_POINTER;
  *out = ToBstr(text);
  return *out ? S_OK : E_OUTOFMEMORY;
}

// Counts the object in g_objects for its lifetime and holds its references.
class RefCounted {
 protected:
  RefCounted() { ++g_objects; }
  virtual ~RefCounted() { --g_objects; }
  ULONG AddRefImpl() { return static_cast<ULONG>(++refs_); }
  ULONG ReleaseImpl() {
    const long left = --refs_;
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

 private:
  std::atomic<long> refs_{1};
};

}  // namespace rosterly::testdir

#define TESTDIR_IUNKNOWN                                                   \
  ULONG STDMETHODCALLTYPE AddRef() override { return AddRefImpl(); }      \
  ULONG STDMETHODCALLTYPE Release() override { return ReleaseImpl(); }

#define TESTDIR_NO_TYPEINFO                                                                          \
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {                                 \
    if (count) *count = 0;                                                                           \
    return S_OK;                                                                                     \
  }                                                                                                  \
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {                     \
    if (info) *info = nullptr;                                                                       \
    return E_NOTIMPL;                                                                                \
  }                                                                                                  \
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {         \
    return E_NOTIMPL;                                                                                \
  }                                                                                                  \
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,    \
                                   UINT*) override {                                                 \
    return E_NOTIMPL;                                                                                \
  }
