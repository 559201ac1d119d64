#include "MapError.h"

#include <lmerr.h>

#include <cstdio>
#include <string>

namespace rosterly {

// The codes the console reacts to are the system's own.
static_assert(kErrAccessDenied == static_cast<std::uint32_t>(E_ACCESSDENIED));
static_assert(kErrNoInterface == static_cast<std::uint32_t>(E_NOINTERFACE));
static_assert(kErrInvalidArgument == static_cast<std::uint32_t>(E_INVALIDARG));
static_assert(kErrFileNotFound == static_cast<std::uint32_t>(HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)));
static_assert(kErrBadNetPath == static_cast<std::uint32_t>(HRESULT_FROM_WIN32(ERROR_BAD_NETPATH)));
static_assert(kErrMoreData == static_cast<std::uint32_t>(HRESULT_FROM_WIN32(ERROR_MORE_DATA)));
static_assert(kErrMemberInAlias == static_cast<std::uint32_t>(HRESULT_FROM_WIN32(ERROR_MEMBER_IN_ALIAS)));
static_assert(kErrMemberNotInAlias == static_cast<std::uint32_t>(HRESULT_FROM_WIN32(ERROR_MEMBER_NOT_IN_ALIAS)));
static_assert(kErrMemberInGroup == static_cast<std::uint32_t>(HRESULT_FROM_WIN32(ERROR_MEMBER_IN_GROUP)));
static_assert(kErrMemberNotInGroup == static_cast<std::uint32_t>(HRESULT_FROM_WIN32(ERROR_MEMBER_NOT_IN_GROUP)));

namespace {

// FORMAT_MESSAGE_MAX_WIDTH_MASK makes the text one line; Status::Fail drops
// the blank it leaves at the end.
std::string FromTable(DWORD flags, HMODULE module, DWORD code) {
  char buffer[1024];
  const DWORD length = FormatMessageA(flags | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_MAX_WIDTH_MASK,
                                      module, code, 0, buffer, sizeof buffer, nullptr);
  return std::string(buffer, length < sizeof buffer ? length : 0);
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

std::string DescribeHresult(HRESULT hr) {
  const DWORD code = static_cast<DWORD>(hr);
  std::string text = FromTable(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, code);
  const bool win32 = HRESULT_FACILITY(hr) == FACILITY_WIN32;
  const DWORD plain = HRESULT_CODE(hr);
  if (text.empty() && win32) text = FromTable(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, plain);
  if (text.empty() && win32 && plain >= NERR_BASE && plain <= MAX_NERR && NetworkMessages())
    text = FromTable(FORMAT_MESSAGE_FROM_HMODULE, NetworkMessages(), plain);
  if (text.empty() && AdsiMessages()) text = FromTable(FORMAT_MESSAGE_FROM_HMODULE, AdsiMessages(), code);
  if (text.empty()) {
    char fallback[32];
    std::snprintf(fallback, sizeof fallback, "Error 0x%08lX", static_cast<unsigned long>(code));
    text = fallback;
  }
  return text;
}

Status Failure(HRESULT hr) { return Status::Fail(static_cast<std::uint32_t>(hr), DescribeHresult(hr)); }

}  // namespace

Status StatusFromHresult(HRESULT hr) {
  if (SUCCEEDED(hr)) return Status::Ok();
  return Failure(hr);
}

Status StatusFromWin32(DWORD error) { return Failure(HRESULT_FROM_WIN32(error)); }

Status LastErrorStatus() { return StatusFromWin32(GetLastError()); }

}  // namespace rosterly
