#include "InstanceCounter.h"

#include <windows.h>

namespace {

// A shared section of the program image: the loader maps one copy for every
// process of this file; a copy of the program elsewhere has its own.
__attribute__((section(".shared"), shared)) volatile LONG instanceCounter = -1;

}  // namespace

namespace scrubber {

bool EnterInstanceCounter() { return InterlockedIncrement(&instanceCounter) == 0; }

void LeaveInstanceCounter() { InterlockedDecrement(&instanceCounter); }

}  // namespace scrubber
