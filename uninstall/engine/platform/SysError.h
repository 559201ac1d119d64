#pragma once
// The uninstaller's error type. Win32 implementations map GetLastError() into
// it in one place (win32/MapError.cpp); fakes produce it directly.
#include <cstdint>

namespace scrubber {

enum class SysError : std::uint8_t {
  None,
  NotFound,          // file or value not there
  PathNotFound,      // a directory on the way is missing
  AccessDenied,      // includes read-only files and protected keys
  SharingViolation,  // the file is in use
  DirNotEmpty,
  AlreadyExists,
  InvalidName,       // bad pattern or path syntax
  TooLong,           // the path does not fit the platform's 260-character buffers
  Other,
};

// Result of an operation that returns nothing else.
struct Status {
  SysError error = SysError::None;
  std::uint32_t nativeCode = 0;  // the platform's own code, for diagnostics

  static Status Ok() { return {}; }
  static Status Fail(SysError e, std::uint32_t native = 0) { return {e, native}; }
  bool ok() const { return error == SysError::None; }
  explicit operator bool() const { return ok(); }
};

}  // namespace scrubber
