#include "Win32Profile.h"

#include <windows.h>

#include <vector>

#include "MapError.h"

namespace scrubber {

std::string Win32Profile::ReadString(std::string_view file, std::string_view section, std::string_view key,
                                     std::string_view fallback, std::size_t capacity) {
  if (capacity == 0) return {};
  if (capacity > 0x10000) capacity = 0x10000;
  std::string f(file), s(section), k(key), d(fallback);
  std::vector<char> buffer(capacity, '\0');
  DWORD length = GetPrivateProfileStringA(s.c_str(), k.c_str(), d.c_str(), buffer.data(),
                                          static_cast<DWORD>(capacity), f.c_str());
  if (length >= capacity) length = static_cast<DWORD>(capacity - 1);
  return std::string(buffer.data(), length);
}

Status Win32Profile::WriteString(std::string_view file, std::string_view section, std::string_view key,
                                 std::optional<std::string_view> value) {
  std::string f(file), s(section), k(key);
  std::string v = value ? std::string(*value) : std::string();
  BOOL ok = WritePrivateProfileStringA(s.c_str(), k.c_str(), value ? v.c_str() : nullptr, f.c_str());
  return ok ? Status::Ok() : LastError();
}

}  // namespace scrubber
