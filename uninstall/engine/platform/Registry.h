#pragma once
// Registry reading; writing comes with the registry operations of the engine.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "SysError.h"

namespace scrubber {

// In the order of the log's root index 0 to 4.
enum class RegRoot : std::uint8_t { ClassesRoot, CurrentUser, LocalMachine, Users, CurrentConfig };

struct RegValue {
  std::uint32_t type = 0;  // REG_SZ 1, REG_EXPAND_SZ 2, REG_BINARY 3, REG_DWORD 4, REG_MULTI_SZ 7
  std::string data;        // raw bytes as stored
};

class Registry {
 public:
  virtual ~Registry() = default;
  // nullopt when the key or the value does not exist or cannot be read.
  // An empty value name reads the key's default value.
  virtual std::optional<RegValue> QueryValue(RegRoot root, std::string_view subKey, std::string_view valueName) = 0;
};

}  // namespace scrubber
