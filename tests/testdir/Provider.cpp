// The provider object that ADsOpenObject creates from the ProgID registered
// for "WinNT" and asks for IADsOpenDSObject, plus the in-process server's
// exports: class object, unloading and (un)registration.
#include <windows.h>
#include <ole2.h>
#include <iads.h>

#include "DirObjects.h"
#include "FixtureStore.h"
#include "TestDirIds.h"

namespace rosterly::testdir {

std::atomic<long> g_objects{0};

namespace {

HINSTANCE g_module = nullptr;

class Provider final : public IADsOpenDSObject, private RefCounted {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid != IID_IUnknown && iid != IID_IDispatch && iid != IID_IADsOpenDSObject) return E_NOINTERFACE;
    *out = static_cast<IADsOpenDSObject*>(this);
    AddRef();
    return S_OK;
  }
  TESTDIR_IUNKNOWN
  TESTDIR_NO_TYPEINFO

  // Credentials are ignored: the directory trusts whoever runs the test.
  HRESULT STDMETHODCALLTYPE OpenDSObject(BSTR path, BSTR, BSTR, LONG, IDispatch** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    Snapshot fixture;
    if (const HRESULT hr = FixtureStore::Instance().Current(fixture); FAILED(hr)) return hr;
    const std::string text = FromBstr(path);
    RecordCall(*fixture, "bind " + text);
    Node node;
    const std::uint32_t code = Resolve(*fixture, text, node);
    std::vector<std::string> aliases{Upper(text)};
    if (code == 0) {
      const std::vector<std::string> more = AliasesOf(node);
      aliases.insert(aliases.end(), more.begin(), more.end());
    }
    if (const unsigned delay = fixture->DelayFor(aliases)) Sleep(delay);
    if (code == kServerUnavailable) {
      Sleep(fixture->Computers()[fixture->FindComputer(node.computer)].hangMs);
      return static_cast<HRESULT>(code);
    }
    if (const unsigned latency = fixture->LatencyOf(ServedBy(node))) Sleep(latency);
    const Injected* refused = fixture->FailureFor(aliases, Op::Bind);
    if (refused) return static_cast<HRESULT>(refused->code);
    if (code) return static_cast<HRESULT>(code);
    *out = NewDirObject(std::move(fixture), std::move(node));
    return S_OK;
  }
};

class Factory final : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid != IID_IUnknown && iid != IID_IClassFactory) return E_NOINTERFACE;
    *out = static_cast<IClassFactory*>(this);
    return S_OK;
  }
  // A static object: the counts only matter for unloading.
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    Provider* provider = new Provider();
    const HRESULT hr = provider->QueryInterface(iid, out);
    provider->Release();
    return hr;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    if (lock) ++g_objects;
    else --g_objects;
    return S_OK;
  }
};

Factory g_factory;

LONG SetString(HKEY root, const std::string& key, const char* name, const std::string& value) {
  HKEY handle = nullptr;
  LONG rc = RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle, nullptr);
  if (rc != ERROR_SUCCESS) return rc;
  rc = RegSetValueExA(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                      static_cast<DWORD>(value.size() + 1));
  RegCloseKey(handle);
  return rc;
}

}  // namespace
}  // namespace rosterly::testdir

using namespace rosterly::testdir;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_module = instance;
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (clsid != kProviderClsid) return CLASS_E_CLASSNOTAVAILABLE;
  return g_factory.QueryInterface(iid, out);
}

STDAPI DllCanUnloadNow() { return g_objects == 0 ? S_OK : S_FALSE; }

// Registers the class, its ProgID and the "WinNT" provider key. The fixture
// path is taken from ROSTERLY_TESTDIR_FIXTURE when that is set, so that
// programs started later without the variable find it too.
STDAPI DllRegisterServer() {
  char module[MAX_PATH];
  const DWORD length = GetModuleFileNameA(g_module, module, sizeof module);
  if (length == 0 || length >= sizeof module) return HRESULT_FROM_WIN32(ERROR_BUFFER_OVERFLOW);
  const std::string clsidKey = std::string("CLSID\\") + kProviderClsidText;
  LONG rc = SetString(HKEY_CLASSES_ROOT, clsidKey, nullptr, "Rosterly test directory (WinNT)");
  if (rc == ERROR_SUCCESS) rc = SetString(HKEY_CLASSES_ROOT, clsidKey + "\\InprocServer32", nullptr, module);
  if (rc == ERROR_SUCCESS) rc = SetString(HKEY_CLASSES_ROOT, clsidKey + "\\InprocServer32", "ThreadingModel", "Both");
  if (rc == ERROR_SUCCESS) rc = SetString(HKEY_CLASSES_ROOT, clsidKey + "\\ProgID", nullptr, kProviderProgId);
  if (rc == ERROR_SUCCESS) rc = SetString(HKEY_CLASSES_ROOT, std::string(kProviderProgId) + "\\CLSID", nullptr, kProviderClsidText);
  if (rc == ERROR_SUCCESS) rc = SetString(HKEY_LOCAL_MACHINE, kProviderKey, nullptr, kProviderProgId);
  char fixture[MAX_PATH];
  const DWORD fixtureLength = GetEnvironmentVariableA(kFixtureVariable, fixture, sizeof fixture);
  if (rc == ERROR_SUCCESS && fixtureLength > 0 && fixtureLength < sizeof fixture)
    rc = SetString(HKEY_LOCAL_MACHINE, kSettingsKey, "Fixture", fixture);
  return rc == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(rc);
}

STDAPI DllUnregisterServer() {
  RegDeleteTreeA(HKEY_CLASSES_ROOT, (std::string("CLSID\\") + kProviderClsidText).c_str());
  RegDeleteTreeA(HKEY_CLASSES_ROOT, kProviderProgId);
  RegDeleteTreeA(HKEY_LOCAL_MACHINE, kProviderKey);
  RegDeleteTreeA(HKEY_LOCAL_MACHINE, kSettingsKey);
  return S_OK;
}
