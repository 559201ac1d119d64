#pragma once
// Registry reading; writing comes with the registry operations of the engine.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "SysError.h"

namespace scrubber {

enum class RegRoot : std::uint8_t { ClassesRoot, CurrentUser, LocalMachine, Users };

struct RegValue {
  std::uint32_t type = 0;  // REG_SZ 1, REG_DWORD 4, ...
  std::string data;        // raw bytes as stored
};

class Registry {
 public:
  virtual ~Registry() = default;
  // nullopt when the key or the value does not exist or cannot be read.
  virtual std::optional<RegValue> QueryValue(RegRoot root, std::string_view subKey, std::string_view valueName) = 0;
};

}  // namespace scrubber
