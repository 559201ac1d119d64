#include "Win32Registry.h"

#include <windows.h>

#include "Handles.h"

namespace scrubber {
namespace {

HKEY RootKey(RegRoot root) {
  switch (root) {
    case RegRoot::ClassesRoot: return HKEY_CLASSES_ROOT;
    case RegRoot::CurrentUser: return HKEY_CURRENT_USER;
    case RegRoot::LocalMachine: return HKEY_LOCAL_MACHINE;
    case RegRoot::Users: return HKEY_USERS;
    case RegRoot::CurrentConfig: return HKEY_CURRENT_CONFIG;
  }
  return nullptr;
}

// Values are read whole, but not without bound.
constexpr DWORD kMaxValueBytes = 1u << 20;

}  // namespace

std::optional<RegValue> Win32Registry::QueryValue(RegRoot root, std::string_view subKey, std::string_view valueName) {
  std::string key(subKey), name(valueName);
  HKEY opened = nullptr;
  if (RegOpenKeyExA(RootKey(root), key.c_str(), 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) return std::nullopt;
  win32::RegKey owner(opened);
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExA(owner.get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
  // The value may grow between the two calls; try a few times.
  for (int attempt = 0; attempt < 3 && size <= kMaxValueBytes; ++attempt) {
    std::string data(size, '\0');
    DWORD got = size;
    LONG rc = RegQueryValueExA(owner.get(), name.c_str(), nullptr, &type,
                               reinterpret_cast<BYTE*>(data.data()), &got);
    if (rc == ERROR_SUCCESS) {
      data.resize(got);
      return RegValue{type, std::move(data)};
    }
    if (rc != ERROR_MORE_DATA) return std::nullopt;
    size = got;
  }
  return std::nullopt;
}

}  // namespace scrubber
