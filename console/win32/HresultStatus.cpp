#include "HresultStatus.h"

#include <cstdio>

namespace rosterly {
namespace {

std::string FromTable(DWORD flags, HMODULE module, DWORD code) {
  char buffer[1024];
  const DWORD length = FormatMessageA(flags | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_MAX_WIDTH_MASK,
                                      module, code, 0, buffer, sizeof buffer, nullptr);
  std::string text(buffer, length < sizeof buffer ? length : 0);
  // FORMAT_MESSAGE_MAX_WIDTH_MASK turns line ends into blanks; drop those at the end.
  while (!text.empty() && (text.back() == ' ' || text.back() == '\r' || text.back() == '\n')) text.pop_back();
  return text;
}

// Message tables outside the system's own, loaded as data only, once:
// ADSI's codes (E_ADS_*) live in activeds.dll, the network management
// codes (NERR_*, such as "group not found") in netmsg.dll.
HMODULE AdsiMessages() {
  static HMODULE module = LoadLibraryExA("activeds.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE);
  return module;
}

HMODULE NetworkMessages() {
  static HMODULE module = LoadLibraryExA("netmsg.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE);
  return module;
}

constexpr DWORD kNetworkFirst = 2100, kNetworkLast = 2999;  // NERR_BASE .. MAX_NERR

}  // namespace

std::string DescribeHresult(HRESULT hr) {
  const DWORD code = static_cast<DWORD>(hr);
  std::string text = FromTable(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, code);
  if (text.empty() && HRESULT_FACILITY(hr) == FACILITY_WIN32)
    text = FromTable(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, HRESULT_CODE(hr));
  const DWORD win32 = HRESULT_CODE(hr);
  if (text.empty() && HRESULT_FACILITY(hr) == FACILITY_WIN32 && win32 >= kNetworkFirst && win32 <= kNetworkLast &&
      NetworkMessages())
    text = FromTable(FORMAT_MESSAGE_FROM_HMODULE, NetworkMessages(), win32);
  if (text.empty() && AdsiMessages()) text = FromTable(FORMAT_MESSAGE_FROM_HMODULE, AdsiMessages(), code);
  if (text.empty()) {
    char fallback[32];
    std::snprintf(fallback, sizeof fallback, "Error 0x%08lX", static_cast<unsigned long>(code));
    text = fallback;
  }
  return text;
}

Status StatusFromHresult(HRESULT hr) {
  if (SUCCEEDED(hr)) return Status::Ok();
  return Status::Fail(static_cast<std::uint32_t>(hr), DescribeHresult(hr));
}

}  // namespace rosterly
