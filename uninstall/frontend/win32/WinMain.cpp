#include <windows.h>

#include "Globals.h"
#include "ResourceStrings.h"
#include "RunScrubber.h"
#include "Win32Platform.h"
#include "Win32Shell.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  scrubber::Globals globals;
  scrubber::Win32Platform system;
  scrubber::ResourceStringTable table;
  scrubber::Win32Shell shell(instance, globals);
  return scrubber::RunScrubber(system.platform(), shell, table, globals, commandLine ? commandLine : "");
}
