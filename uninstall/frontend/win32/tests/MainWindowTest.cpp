// The background window's waits on the real platform.
#include <windows.h>

#include <gtest/gtest.h>

#include "MainWindow.h"

namespace scrubber {
namespace {

HWND waitingWindow = nullptr;

// Takes the wait's timer away, as if it could never have been set.
void CALLBACK DropWaitTimer(HWND, UINT, UINT_PTR id, DWORD) {
  (void)KillTimer(nullptr, id);
  (void)KillTimer(waitingWindow, kWaitTimer);
}

TEST(MainWindowWait, EndsWhenItsTimeHasPassedThoughTheTimerNeverTicks) {
  Appearance appearance;
  MainWindow main(appearance);
  ASSERT_TRUE(main.Create(GetModuleHandleA(nullptr), "wait"));
  waitingWindow = main.handle();
  ASSERT_NE(SetTimer(nullptr, 0, 1, DropWaitTimer), 0u);
  const DWORD start = GetTickCount();
  main.Wait(300, nullptr);
  const DWORD elapsed = GetTickCount() - start;
  EXPECT_GE(elapsed, 290u) << "the wait still takes its time";
  EXPECT_LT(elapsed, 5000u) << "and ends by its own clock";
  main.Close();
}

}  // namespace
}  // namespace scrubber
