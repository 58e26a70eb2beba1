// Millisecond waits that keep pumping messages while they wait: the frame loop's one pass of
// message handling, and the pace of the palette fades. A quit message taken by the pump ends
// the process from inside the wait, with status 1.
#pragma once

#include <cstdint>

extern uint32_t frameStartTime;  // the reference of waitSinceFrameStart; 0 until marked

// Stores the current time in frameStartTime.
void markFrameStart();

// Pumps until more than `milliseconds` have passed since frameStartTime (at least one pass).
void waitSinceFrameStart(uint32_t milliseconds);

// Pumps until at least `milliseconds` have passed since the call (at least one pass).
void waitFor(uint32_t milliseconds);
