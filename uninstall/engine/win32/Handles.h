#pragma once
// Scoped owners for the Win32 handles this layer opens: each is closed by
// its own function when the owner goes.
#include <windows.h>

#include <utility>

namespace scrubber::win32 {

template <typename Handle, Handle Invalid, typename Closer>
class Owned {
 public:
  Owned() = default;
  explicit Owned(Handle h) : h_(h) {}
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  Owned(Owned&& other) noexcept : h_(std::exchange(other.h_, Invalid)) {}
  Owned& operator=(Owned&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.h_, Invalid));
    return *this;
  }
  ~Owned() { Reset(); }

  Handle get() const { return h_; }
  bool valid() const { return h_ != Invalid; }
  void Reset(Handle h = Invalid) {
    if (h_ != Invalid) Closer{}(h_);
    h_ = h;
  }

 private:
  Handle h_ = Invalid;
};

struct CloseKey {
  void operator()(HKEY k) const { RegCloseKey(k); }
};
struct CloseService {
  void operator()(SC_HANDLE h) const { CloseServiceHandle(h); }
};

// INVALID_HANDLE_VALUE is not a constant expression; these wrappers test
// against it explicitly.
class FindHandle {
 public:
  explicit FindHandle(HANDLE h) : h_(h) {}
  FindHandle(const FindHandle&) = delete;
  FindHandle& operator=(const FindHandle&) = delete;
  ~FindHandle() {
    if (h_ != INVALID_HANDLE_VALUE) FindClose(h_);
  }
  HANDLE get() const { return h_; }
  bool valid() const { return h_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE h_;
};

class FileHandle {
 public:
  explicit FileHandle(HANDLE h = INVALID_HANDLE_VALUE) : h_(h) {}
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  FileHandle(FileHandle&& other) noexcept : h_(std::exchange(other.h_, INVALID_HANDLE_VALUE)) {}
  ~FileHandle() {
    if (h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
  }
  HANDLE get() const { return h_; }
  bool valid() const { return h_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE h_;
};

using RegKey = Owned<HKEY, nullptr, CloseKey>;
using ServiceManager = Owned<SC_HANDLE, nullptr, CloseService>;

}  // namespace scrubber::win32
