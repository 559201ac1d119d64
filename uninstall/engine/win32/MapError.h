#pragma once
// The one place where the platform's error codes become SysError.
#include <cstdint>

#include "platform/SysError.h"

namespace scrubber {

SysError MapError(std::uint32_t win32Code);
// GetLastError() as a failed Status.
Status LastError();
// A returned error code (the registry functions return theirs) as a Status;
// success only for ERROR_SUCCESS.
Status CodeStatus(std::uint32_t win32Code);

}  // namespace scrubber
