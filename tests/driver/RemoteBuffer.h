#pragma once
#include <windows.h>

#include <cstddef>

namespace testdriver {

// Memory inside another process, for messages whose pointers the system does
// not marshal (list view items, notifications). Freed on destruction.
class RemoteBuffer {
 public:
  RemoteBuffer(HWND window, size_t size);
  ~RemoteBuffer();
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;

  bool ok() const { return address_ != nullptr; }
  void* address() const { return address_; }
  char* at(size_t offset) const { return static_cast<char*>(address_) + offset; }
  bool Write(size_t offset, const void* data, size_t size);
  bool Read(size_t offset, void* data, size_t size) const;

 private:
  HANDLE process_ = nullptr;
  void* address_ = nullptr;
};

}  // namespace testdriver
