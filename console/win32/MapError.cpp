#include "MapError.h"

#include <cderr.h>
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

// Short texts of the directory errors the console meets most, for a system
// that has no message for them (Wine has neither netmsg.dll's texts nor
// ADSI's): better than a bare number in the grid.
struct KnownText {
  DWORD code;
  const char* text;
};
constexpr DWORD FromNerr(DWORD nerr) { return 0x80070000u | nerr; }  // HRESULT_FROM_WIN32
constexpr KnownText kKnownTexts[] = {
    {FromNerr(NERR_GroupNotFound), "The group name could not be found."},
    {FromNerr(NERR_UserNotFound), "The user name could not be found."},
    {FromNerr(NERR_GroupExists), "The group already exists."},
    {FromNerr(NERR_UserExists), "The account already exists."},
    {FromNerr(NERR_UserInGroup), "The account is already a member of the group."},
    {FromNerr(NERR_UserNotInGroup), "The account is not a member of the group."},
    {FromNerr(NERR_InvalidComputer), "The computer name is not valid."},
    {FromNerr(NERR_DCNotFound), "No domain controller could be found for the domain."},
    {0x80005000u, "The directory path is not valid."},                  // E_ADS_BAD_PATHNAME
    {0x80005001u, "The directory domain object is unknown."},           // E_ADS_INVALID_DOMAIN_OBJECT
    {0x80005002u, "The directory user object is unknown."},             // E_ADS_INVALID_USER_OBJECT
    {0x80005003u, "The directory computer object is unknown."},         // E_ADS_INVALID_COMPUTER_OBJECT
    {0x80005004u, "The directory object is unknown."},                  // E_ADS_UNKNOWN_OBJECT
    {0x80005005u, "The directory property is not set."},                // E_ADS_PROPERTY_NOT_SET
    {0x80005006u, "The directory property is not supported."},          // E_ADS_PROPERTY_NOT_SUPPORTED
    {0x80005007u, "The directory property is not valid."},              // E_ADS_PROPERTY_INVALID
    {0x80005008u, "A parameter passed to the directory is not valid."}, // E_ADS_BAD_PARAMETER
    {0x80005009u, "The directory object is not bound."},                // E_ADS_OBJECT_UNBOUND
    {0x8000500Du, "The directory property cannot be found."},           // E_ADS_PROPERTY_NOT_FOUND
    {0x8000500Eu, "The directory object already exists."},             // E_ADS_OBJECT_EXISTS
    {0x8000500Fu, "The change breaks the rules of the directory."},     // E_ADS_SCHEMA_VIOLATION
};

std::string BuiltInText(DWORD code) {
  for (const auto& known : kKnownTexts)
    if (known.code == code) return known.text;
  return std::string();
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
  if (text.empty()) text = BuiltInText(code);
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

Status StatusFromDialogError(DWORD error) {
  if (error == FNERR_BUFFERTOOSMALL) return StatusFromWin32(ERROR_FILENAME_EXCED_RANGE);
  if (error == FNERR_INVALIDFILENAME) return StatusFromWin32(ERROR_INVALID_NAME);
  char text[64];
  std::snprintf(text, sizeof text, "The file dialog failed (error 0x%04lX).", static_cast<unsigned long>(error));
  return Status::Fail(static_cast<std::uint32_t>(E_FAIL), text);
}

}  // namespace rosterly
