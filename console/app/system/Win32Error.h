#pragma once
// The one place where a Win32 error code or an HRESULT becomes a Status.
#include <windows.h>

#include "platform/Status.h"

namespace rosterly {

// Keeps the code in HRESULT form (Win32 codes as HRESULT_FROM_WIN32) and the
// system's own description of it.
Status StatusFromError(HRESULT code);
inline Status StatusFromWin32(DWORD error) { return StatusFromError(HRESULT_FROM_WIN32(error)); }
inline Status LastErrorStatus() { return StatusFromWin32(GetLastError()); }

}  // namespace rosterly
