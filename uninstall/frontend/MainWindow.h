#pragma once
#include <windows.h>

namespace scrubber {

// The full-screen background window behind the wizard.
inline constexpr char kMainWindowClass[] = "KVRTUninstall";

bool RegisterMainWindowClass(HINSTANCE instance);
HWND CreateMainWindow(HINSTANCE instance, const char* caption);

}  // namespace scrubber

extern "C" __declspec(dllexport) LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
