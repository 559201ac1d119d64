#include "Win32Error.h"

#include <cstdio>
#include <string>

namespace rosterly {

Status StatusFromError(HRESULT code) {
  char buffer[512] = {};
  DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                static_cast<DWORD>(code), 0, buffer, sizeof buffer, nullptr);
  // A Win32 code wrapped in an HRESULT is described under its plain number.
  if (length == 0 && HRESULT_FACILITY(code) == FACILITY_WIN32)
    length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                            static_cast<DWORD>(HRESULT_CODE(code)), 0, buffer, sizeof buffer, nullptr);
  std::string text(buffer, length);
  while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' ')) text.pop_back();
  if (text.empty()) {
    char fallback[40];
    std::snprintf(fallback, sizeof fallback, "Error 0x%08lX", static_cast<unsigned long>(code));
    text = fallback;
  }
  return Status::Fail(static_cast<std::uint32_t>(code), std::move(text));
}

}  // namespace rosterly
