#pragma once
// The counter that every process started from the same program file shares.

namespace scrubber {

// Atomic increment; true when the result is 0 (no other instance runs).
bool EnterInstanceCounter();
// Atomic decrement, for an instance that gives up.
void LeaveInstanceCounter();

}  // namespace scrubber
