#include <string>

#include "Handles.h"
#include "MapError.h"
#include "Win32System.h"

namespace rosterly {

// The portable names stand for the system's values.
static_assert(kRegSz == REG_SZ && kRegExpandSz == REG_EXPAND_SZ);
static_assert(kKeyRead == KEY_READ);

namespace {

HKEY RootKey(RegRoot root) {
  switch (root) {
    case RegRoot::ClassesRoot:
      return HKEY_CLASSES_ROOT;
    case RegRoot::CurrentUser:
      return HKEY_CURRENT_USER;
    case RegRoot::Users:
      return HKEY_USERS;
    case RegRoot::LocalMachine:
      break;
  }
  return HKEY_LOCAL_MACHINE;
}

class Win32Key : public RegistryKey {
 public:
  explicit Win32Key(HKEY key) : key_(key) {}
  Result<RegData> QueryValue(std::string_view valueName, std::size_t bufferBytes) override {
    std::string bytes(bufferBytes, '\0');
    DWORD type = 0, size = static_cast<DWORD>(bufferBytes);
    LONG error = RegQueryValueExA(key_.get(), std::string(valueName).c_str(), nullptr, &type,
                                  reinterpret_cast<BYTE*>(bytes.data()), &size);
    if (error != ERROR_SUCCESS) return StatusFromWin32(static_cast<DWORD>(error));
    bytes.resize(size < bufferBytes ? size : bufferBytes);
    return RegData{type, std::move(bytes)};
  }

 private:
  RegKey key_;
};

}  // namespace

Result<std::unique_ptr<RegistryKey>> Win32Registry::OpenKey(RegRoot root, std::string_view subKey,
                                                            std::uint32_t access) {
  HKEY key = nullptr;
  LONG error = RegOpenKeyExA(RootKey(root), std::string(subKey).c_str(), 0, access, &key);
  if (error != ERROR_SUCCESS) return StatusFromWin32(static_cast<DWORD>(error));
  return std::unique_ptr<RegistryKey>(std::make_unique<Win32Key>(key));
}

}  // namespace rosterly
