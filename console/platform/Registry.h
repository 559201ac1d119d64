#pragma once
// Registry reading for the About box. A key is closed when its owner is
// destroyed.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "Status.h"

namespace rosterly {

enum class RegRoot { ClassesRoot, CurrentUser, LocalMachine, Users };

inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kKeyRead = 0x20019;  // KEY_READ, checked by the Win32 layer

struct RegData {
  std::uint32_t type = 0;
  std::string bytes;  // exactly as many bytes as the query reported
};

class RegistryKey {
 public:
  virtual ~RegistryKey() = default;
  // Fails with kErrMoreData when the data is longer than bufferBytes.
  virtual Result<RegData> QueryValue(std::string_view valueName, std::size_t bufferBytes) = 0;
};

class Registry {
 public:
  virtual ~Registry() = default;
  virtual Result<std::unique_ptr<RegistryKey>> OpenKey(RegRoot root, std::string_view subKey,
                                                       std::uint32_t access) = 0;
};

}  // namespace rosterly
