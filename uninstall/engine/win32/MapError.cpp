#include "MapError.h"

#include <windows.h>

namespace scrubber {

SysError MapError(std::uint32_t code) {
  switch (code) {
    case ERROR_SUCCESS:
      return SysError::None;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_NO_MORE_FILES:
      return SysError::NotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_INVALID_DRIVE:
      return SysError::PathNotFound;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_PRIVILEGE_NOT_HELD:
      return SysError::AccessDenied;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_USER_MAPPED_FILE:
      return SysError::SharingViolation;
    case ERROR_DIR_NOT_EMPTY:
      return SysError::DirNotEmpty;
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS:
      return SysError::AlreadyExists;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_DIRECTORY:
    case ERROR_INVALID_PARAMETER:
      return SysError::InvalidName;
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_BUFFER_OVERFLOW:
      return SysError::TooLong;
    default:
      return SysError::Other;
  }
}

Status LastError() {
  DWORD code = GetLastError();
  SysError error = MapError(code);
  // A call that failed without saying why still failed.
  return Status::Fail(error == SysError::None ? SysError::Other : error, code);
}

Status CodeStatus(std::uint32_t code) {
  if (code == ERROR_SUCCESS) return Status::Ok();
  SysError error = MapError(code);
  return Status::Fail(error == SysError::None ? SysError::Other : error, code);
}

}  // namespace scrubber
