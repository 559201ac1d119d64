#pragma once
#include <windows.h>

#include <string>

namespace rosterly {

// A string of the program's string table.
inline std::string ResString(UINT id) {
  char buffer[1024];
  int length = LoadStringA(GetModuleHandleA(nullptr), id, buffer, sizeof buffer);
  return std::string(buffer, length > 0 ? static_cast<size_t>(length) : 0);
}

}  // namespace rosterly
