#include "Win32Registry.h"

#include <windows.h>

#include "Handles.h"
#include "MapError.h"
#include "Ntdll.h"

namespace scrubber {
namespace {

static_assert((KEY_QUERY_VALUE | KEY_SET_VALUE | KEY_CREATE_SUB_KEY | KEY_ENUMERATE_SUB_KEYS | KEY_NOTIFY |
               KEY_CREATE_LINK) == kRegKeyAccess);
static_assert(REG_SZ == kRegTypeSz && REG_EXPAND_SZ == kRegTypeExpandSz && REG_BINARY == kRegTypeBinary &&
              REG_DWORD == kRegTypeDword && REG_MULTI_SZ == kRegTypeMultiSz);

// nullptr for a root outside the five known ones.
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

Status FromCode(LONG rc) { return CodeStatus(static_cast<std::uint32_t>(rc)); }

// Values are read whole, but not without bound.
constexpr DWORD kMaxValueBytes = 1u << 20;

std::optional<RegValue> ReadValue(HKEY key, const std::string& name) {
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
  // The value may grow between the two calls; try a few times.
  for (int attempt = 0; attempt < 3 && size <= kMaxValueBytes; ++attempt) {
    std::string data(size, '\0');
    DWORD got = size;
    LONG rc = RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &got);
    if (rc == ERROR_SUCCESS) {
      data.resize(got);
      return RegValue{type, std::move(data)};
    }
    if (rc != ERROR_MORE_DATA) return std::nullopt;
    size = got;
  }
  return std::nullopt;
}

class Win32RegKey : public RegKey {
 public:
  explicit Win32RegKey(HKEY key) : key_(key) {}

  std::optional<RegValue> Query(std::string_view valueName) override {
    return ReadValue(key_.get(), std::string(valueName));
  }

  Status Set(std::string_view valueName, const RegValue& value) override {
    if (value.data.size() > kMaxValueBytes) return Status::Fail(SysError::TooLong);
    std::string name(valueName);
    return FromCode(RegSetValueExA(key_.get(), name.c_str(), 0, value.type,
                                   reinterpret_cast<const BYTE*>(value.data.data()),
                                   static_cast<DWORD>(value.data.size())));
  }

  Status DeleteValue(std::string_view valueName) override {
    std::string name(valueName);
    return FromCode(RegDeleteValueA(key_.get(), name.c_str()));
  }

  std::optional<std::string> EnumValue(std::uint32_t index) override {
    char name[kRegNameBuffer];
    DWORD length = sizeof name;
    if (RegEnumValueA(key_.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
      return std::nullopt;
    }
    return std::string(name, length);
  }

  std::optional<bool> HoldsAnything() override {
    DWORD subKeys = 0, values = 0;
    if (RegQueryInfoKeyA(key_.get(), nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values, nullptr, nullptr,
                         nullptr, nullptr) != ERROR_SUCCESS) {
      return std::nullopt;
    }
    return subKeys != 0 || values != 0;
  }

  std::optional<std::uint32_t> ValueCount() override {
    DWORD values = 0;
    if (RegQueryInfoKeyA(key_.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr,
                         nullptr, nullptr) != ERROR_SUCCESS) {
      return std::nullopt;
    }
    return values;
  }

  std::optional<std::string> EnumSubKey(std::uint32_t index) override {
    char name[kRegNameBuffer];
    DWORD length = sizeof name;
    if (RegEnumKeyExA(key_.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
      return std::nullopt;
    }
    return std::string(name, length);
  }

 private:
  win32::RegKey key_;
};

// A link key holds its target in this value, of the link type.
bool IsLinkKey(HKEY key) {
  DWORD type = 0;
  return RegQueryValueExA(key, "SymbolicLinkValue", nullptr, &type, nullptr, nullptr) == ERROR_SUCCESS &&
         type == REG_LINK;
}

// The registry functions cannot delete a link itself; the native call can.
Status DeleteLinkKey(HKEY link) {
  using NtDeleteKeyFn = LONG(WINAPI*)(HANDLE);
  static const NtDeleteKeyFn deleteKey = win32::NtdllExport<NtDeleteKeyFn>("NtDeleteKey");
  if (!deleteKey) return Status::Fail(SysError::Other);
  return deleteKey(link) == 0 ? Status::Ok() : Status::Fail(SysError::AccessDenied);
}

std::unique_ptr<RegKey> OpenWith(RegRoot root, std::string_view subKey, REGSAM access) {
  HKEY base = RootKey(root);
  if (!base) return nullptr;
  HKEY opened = nullptr;
  if (RegOpenKeyExA(base, std::string(subKey).c_str(), 0, access, &opened) != ERROR_SUCCESS) return nullptr;
  return std::make_unique<Win32RegKey>(opened);
}

}  // namespace

std::optional<RegValue> Win32Registry::QueryValue(RegRoot root, std::string_view subKey, std::string_view valueName) {
  HKEY base = RootKey(root);
  if (!base) return std::nullopt;
  std::string key(subKey);
  HKEY opened = nullptr;
  if (RegOpenKeyExA(base, key.c_str(), 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) return std::nullopt;
  win32::RegKey owner(opened);
  return ReadValue(owner.get(), std::string(valueName));
}

std::unique_ptr<RegKey> Win32Registry::OpenKey(RegRoot root, std::string_view subKey) {
  return OpenWith(root, subKey, kRegKeyAccess);
}

std::unique_ptr<RegKey> Win32Registry::OpenKeyToRead(RegRoot root, std::string_view subKey) {
  // Querying, counting and listing values need no more.
  return OpenWith(root, subKey, KEY_QUERY_VALUE);
}

Status Win32Registry::DeleteKey(RegRoot root, std::string_view subKey) {
  HKEY base = RootKey(root);
  if (!base) return Status::Fail(SysError::InvalidName);
  // An empty name would name the root itself, which is never ours to delete.
  if (subKey.empty()) return Status::Fail(SysError::InvalidName);
  std::string key(subKey);
  // RegDeleteKey would follow a link and delete the key it points to: a key
  // that cannot be looked at itself is not deleted.
  HKEY opened = nullptr;
  const LONG rc = RegOpenKeyExA(base, key.c_str(), REG_OPTION_OPEN_LINK, KEY_QUERY_VALUE | DELETE, &opened);
  if (rc != ERROR_SUCCESS) return FromCode(rc);
  win32::RegKey self(opened);
  if (IsLinkKey(self.get())) return DeleteLinkKey(self.get());
  return FromCode(RegDeleteKeyA(base, key.c_str()));
}

bool Win32Registry::MayBeLink(RegRoot root, std::string_view subKey) {
  HKEY base = RootKey(root);
  if (!base || subKey.empty()) return false;
  HKEY opened = nullptr;
  if (RegOpenKeyExA(base, std::string(subKey).c_str(), REG_OPTION_OPEN_LINK, KEY_QUERY_VALUE, &opened) !=
      ERROR_SUCCESS) {
    return true;  // what cannot be looked at is not walked into
  }
  win32::RegKey self(opened);
  return IsLinkKey(self.get());
}

}  // namespace scrubber
