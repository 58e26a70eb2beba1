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

}  // namespace

void markFrameStart() { frameStartTime = timeGetTime(); }

void waitSinceFrameStart(uint32_t milliseconds) {
  for (;;) {
    pumpOrExit();
    // Strictly more; the sum wraps at 2^32 as the clock does.
    if (timeGetTime() > frameStartTime + milliseconds) return;
    if (waitEnabled == 0) return;
  }
}

void waitFor(uint32_t milliseconds) {
  const uint32_t start = timeGetTime();
  for (;;) {
    pumpOrExit();
    if (timeGetTime() >= start + milliseconds) return;
    if (waitEnabled == 0) return;
  }
}
