#include "Win32DirectoryWorkers.h"

#include <windows.h>
#include <objbase.h>

#include <memory>
#include <new>

#include "AdsiDirectory.h"
#include "Handles.h"
#include "MapError.h"

namespace rosterly {
namespace {

using Work = std::function<void(Directory&)>;

DWORD WINAPI WorkerMain(void* parameter) {
  std::unique_ptr<Work> work(static_cast<Work*>(parameter));
  // The multithreaded apartment: the worker has no window and pumps no
  // messages, and the directory objects it binds stay on this thread.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  {
    AdsiDirectory directory;
    (*work)(directory);
    work.reset();  // what the work holds goes before COM does
  }
  if (SUCCEEDED(com)) CoUninitialize();
  return 0;
}

}  // namespace

Status Win32DirectoryWorkers::Start(std::function<void(Directory& directory)> work) {
  auto owned = std::unique_ptr<Work>(new (std::nothrow) Work(std::move(work)));
  if (!owned) return StatusFromWin32(ERROR_NOT_ENOUGH_MEMORY);
  ScopedHandle thread(CreateThread(nullptr, 0, WorkerMain, owned.get(), 0, nullptr));
  if (!thread) return StatusFromWin32(GetLastError());
  (void)owned.release();  // the thread owns it now
  return Status::Ok();
}

}  // namespace rosterly
