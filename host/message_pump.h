// The non-blocking message pump, and millisecond waits that keep pumping while they wait.
// A quit message taken by the pump ends the process from inside the wait, with status 1.
#pragma once

#include <cstdint>

extern uint32_t frameStartTime;  // the reference of waitSinceFrameStart; 0 until marked

// Dispatches every waiting message. 1 when the queue is empty, 0 when the quit message came.
int32_t pumpMessages();

// Stores the current time in frameStartTime.
void markFrameStart();

// Pumps until more than `milliseconds` have passed since frameStartTime (at least one pass).
void waitSinceFrameStart(uint32_t milliseconds);

// Pumps until at least `milliseconds` have passed since the call (at least one pass).
void waitFor(uint32_t milliseconds);
