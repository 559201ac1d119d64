#include "Win32DirectoryWorkers.h"

#include <windows.h>
#include <objbase.h>

#include <deque>
#include <new>

#include "AdsiDirectory.h"
#include "Handles.h"
#include "MapError.h"

namespace rosterly {

using Work = std::function<void(Directory&)>;

// Work waiting for a thread, and how many threads wait for work.
struct Win32DirectoryWorkers::Pool {
  SRWLOCK lock = SRWLOCK_INIT;
  CONDITION_VARIABLE ready = CONDITION_VARIABLE_INIT;
  std::deque<Work> waiting;
  std::size_t idle = 0;
};

namespace {

using Pool = Win32DirectoryWorkers::Pool;

// Long enough to carry a thread from one computer to the next of a run,
// short enough that idle threads do not linger after it.
constexpr DWORD kIdleMs = 2000;

struct FirstWork {
  std::shared_ptr<Pool> pool;
  Work work;
};

// The next piece of work, or nothing once none came for kIdleMs.
Work NextWork(Pool& pool) {
  ScopedExclusiveLock hold(pool.lock);
  ++pool.idle;
  while (pool.waiting.empty())
    if (!SleepConditionVariableSRW(&pool.ready, &pool.lock, kIdleMs, 0)) break;
  --pool.idle;
  Work next;
  if (!pool.waiting.empty()) {
    next = std::move(pool.waiting.front());
    pool.waiting.pop_front();
  }
  return next;
}

DWORD WINAPI WorkerMain(void* parameter) {
  std::unique_ptr<FirstWork> first(static_cast<FirstWork*>(parameter));
  const std::shared_ptr<Pool> pool = std::move(first->pool);
  Work work = std::move(first->work);
  first.reset();
  // The multithreaded apartment: the worker has no window and pumps no
  // messages, and the directory objects it binds stay on this thread.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  {
    AdsiDirectory directory;
    while (work) {
      work(directory);
      work = nullptr;  // what the work holds goes before the wait
      work = NextWork(*pool);
    }
  }
  if (SUCCEEDED(com)) CoUninitialize();
  return 0;
}

}  // namespace

Win32DirectoryWorkers::Win32DirectoryWorkers() : pool_(std::make_shared<Pool>()) {}

Status Win32DirectoryWorkers::Start(std::function<void(Directory& directory)> work) {
  {
    ScopedExclusiveLock hold(pool_->lock);
    // A thread that waits and has nothing promised to it takes the work.
    if (pool_->idle > pool_->waiting.size()) {
      pool_->waiting.push_back(std::move(work));
      WakeConditionVariable(&pool_->ready);
      return Status::Ok();
    }
  }

  auto first = std::unique_ptr<FirstWork>(new (std::nothrow) FirstWork{pool_, std::move(work)});
  if (!first) return StatusFromWin32(ERROR_NOT_ENOUGH_MEMORY);
  ScopedHandle thread(CreateThread(nullptr, 0, WorkerMain, first.get(), 0, nullptr));
  if (!thread) return StatusFromWin32(GetLastError());
  (void)first.release();  // the thread owns it now
  return Status::Ok();
}

}  // namespace rosterly
