#pragma once
// The one place where a system error (a Win32 error code or an HRESULT)
// becomes the console's Status, with the description the administrator is
// shown.
#include <windows.h>

#include "platform/Status.h"

namespace rosterly {

// Ok for success codes (S_FALSE included), a failure otherwise. The
// description comes from the system's message table (also the plain Win32
// code of a FACILITY_WIN32 HRESULT), then netmsg.dll for network management
// codes and ADSI's own table in activeds.dll, then a short built-in text for
// the common network management and ADSI codes, else "Error 0x%08X"; one
// line.
Status StatusFromHresult(HRESULT hr);

// A Win32 error code, kept in HRESULT form (HRESULT_FROM_WIN32). Called on a
// failed path, so it is a failure even for a code of 0 (a function that
// failed without setting one): never reported as success.
Status StatusFromWin32(DWORD error);
// GetLastError() as a failure.
Status LastErrorStatus();
// A common dialog's failure (CommDlgExtendedError, never 0 here).
Status StatusFromDialogError(DWORD error);

}  // namespace rosterly
