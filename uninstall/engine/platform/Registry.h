#pragma once
// The registry as the uninstaller reads and writes it. Keys are opened with
// the access mask 63 (query, set, create subkey, enumerate, notify, create
// link); value and subkey names fit 256-character buffers.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "SysError.h"

namespace scrubber {

// In the order of the log's root index 0 to 4.
enum class RegRoot : std::uint8_t { ClassesRoot, CurrentUser, LocalMachine, Users, CurrentConfig };
inline constexpr int kRegRootCount = 5;

// Registry value types as the platform numbers them.
enum RegType : std::uint32_t {
  kRegTypeSz = 1,
  kRegTypeExpandSz = 2,
  kRegTypeBinary = 3,
  kRegTypeDword = 4,
  kRegTypeMultiSz = 7,
};

// Value and subkey names are read into buffers of this many characters,
// terminator included.
inline constexpr std::size_t kRegNameBuffer = 256;
// The access every key of the uninstall is opened with.
inline constexpr std::uint32_t kRegKeyAccess = 63;

struct RegValue {
  std::uint32_t type = 0;  // REG_SZ 1, REG_EXPAND_SZ 2, REG_BINARY 3, REG_DWORD 4, REG_MULTI_SZ 7
  std::string data;        // raw bytes as stored
};

// One open key; closed when destroyed.
class RegKey {
 public:
  virtual ~RegKey() = default;
  // nullopt when the value does not exist or cannot be read. An empty name
  // is the key's default value.
  virtual std::optional<RegValue> Query(std::string_view valueName) = 0;
  virtual Status Set(std::string_view valueName, const RegValue& value) = 0;
  virtual Status DeleteValue(std::string_view valueName) = 0;
  // The name of the index-th value or subkey; nullopt past the last one,
  // on error, or when the name does not fit the 256-character buffer.
  virtual std::optional<std::string> EnumValue(std::uint32_t index) = 0;
  virtual std::optional<std::string> EnumSubKey(std::uint32_t index) = 0;
  // Whether the key holds any value or subkey, whatever their names;
  // nullopt when that cannot be told. The enumerations cannot tell "none"
  // from "unreadable", and an emptied key is deleted only on a sure "no".
  virtual std::optional<bool> HoldsAnything() = 0;
  // How many values the key holds; nullopt when that cannot be told.
  virtual std::optional<std::uint32_t> ValueCount() = 0;
};

class Registry {
 public:
  virtual ~Registry() = default;
  // nullopt when the key or the value does not exist or cannot be read.
  // An empty value name reads the key's default value. Opens for reading only.
  virtual std::optional<RegValue> QueryValue(RegRoot root, std::string_view subKey, std::string_view valueName) = 0;
  // Opens an existing key with kRegKeyAccess; nullptr when it cannot be opened.
  // An empty subkey opens the root itself.
  virtual std::unique_ptr<RegKey> OpenKey(RegRoot root, std::string_view subKey) = 0;
  // Opens an existing key for reading only (a key the user may read but not
  // change); its writes fail. nullptr when it cannot be opened.
  virtual std::unique_ptr<RegKey> OpenKeyToRead(RegRoot root, std::string_view subKey) = 0;
  // Deletes a key that has no subkeys (RegDeleteKey). A symbolic link is
  // deleted as a link: the key it points to stays.
  virtual Status DeleteKey(RegRoot root, std::string_view subKey) = 0;
  // Whether the key at that path is itself a symbolic link to another key,
  // or cannot be looked at to tell; false only for an ordinary key.
  virtual bool MayBeLink(RegRoot root, std::string_view subKey) = 0;
};

}  // namespace scrubber
