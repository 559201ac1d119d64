#include "ResourceStrings.h"

#include <windows.h>

namespace scrubber {

std::string ResourceStringTable::Load(int id) const {
  // Longer than any text of the table; LoadStringA cuts and terminates.
  char buffer[1024];
  HINSTANCE module = module_ ? static_cast<HINSTANCE>(module_) : GetModuleHandleA(nullptr);
  const int n = LoadStringA(module, static_cast<UINT>(id), buffer, static_cast<int>(sizeof buffer));
  return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string();
}

}  // namespace scrubber
