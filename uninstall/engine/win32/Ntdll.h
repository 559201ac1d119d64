#pragma once
// The few native calls the documented API lacks (deleting a registry link,
// a file's index alone), looked up once in ntdll.
#include <windows.h>

namespace scrubber::win32 {

// The exported function of that name as `Fn`; nullptr where ntdll lacks it.
template <typename Fn>
Fn NtdllExport(const char* name) {
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(ntdll, name))) : nullptr;
}

}  // namespace scrubber::win32
