#pragma once
// The one mapping from an HRESULT to the console's Status, with the
// description the administrator is shown.
#include <windows.h>

#include <string>

#include "platform/Status.h"

namespace rosterly {

// The system's message table first (also the plain Win32 code of a
// FACILITY_WIN32 HRESULT), then netmsg.dll for network management codes and
// ADSI's own table in activeds.dll, then "Error 0x%08X". One line, without the trailing line end.
std::string DescribeHresult(HRESULT hr);

// Ok for success codes (S_FALSE included), a failure otherwise.
Status StatusFromHresult(HRESULT hr);

}  // namespace rosterly
