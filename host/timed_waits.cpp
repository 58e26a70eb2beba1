#include "host/timed_waits.h"

#include <cstdlib>

#include "host/main_window.h"
#include "host/message_pump.h"
#include "platform/win32.h"

uint32_t frameStartTime = 0;

namespace {

// The quit message ends the program here: no display teardown, no box.
void pumpOrExit() {
  if (pumpMessages() == 0) std::exit(1);
}

// Whether a wait from `reference` that ends once the clock passes `end` (or reaches it, with
// `inclusive`) is over at `now`. The sum `end` wraps at 2^32 as the clock does, and a sum that
// wrapped ends the wait as soon as the clock passes it, as it always has. A sum that did not wrap
// may lie at the very top of the clock (0xFFFFFFFF can never be exceeded) or be stepped over
// when the clock jumps across the wrap: a clock that reads less than the reference has wrapped
// past the whole wait, and the wait is over too instead of lasting another 49.7 days.
bool waitIsOver(uint32_t now, uint32_t reference, uint32_t end, bool inclusive) {
  if (inclusive ? now >= end : now > end) return true;
  const bool sumWrapped = end < reference;
  return !sumWrapped && now < reference;
}

}  // namespace

void markFrameStart() { frameStartTime = timeGetTime(); }

void waitSinceFrameStart(uint32_t milliseconds) {
  for (;;) {
    pumpOrExit();
    // Strictly more than the time.
    if (waitIsOver(timeGetTime(), frameStartTime, frameStartTime + milliseconds, false)) return;
    if (waitEnabled == 0) return;
  }
}

void waitFor(uint32_t milliseconds) {
  const uint32_t start = timeGetTime();
  for (;;) {
    pumpOrExit();
    if (waitIsOver(timeGetTime(), start, start + milliseconds, true)) return;
    if (waitEnabled == 0) return;
  }
}
