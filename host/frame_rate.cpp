#include "host/frame_rate.h"

#include "platform/win32.h"

namespace {

constexpr uint32_t frameRateInterval = 1000;  // milliseconds

}  // namespace

int32_t countPresentedFrame(int32_t& frameCount, uint32_t& intervalStart) {
  frameCount = frameCount + 1;
  // Unsigned, so the wrap of the clock does no harm.
  if (timeGetTime() - intervalStart < frameRateInterval) return -1;
  intervalStart = timeGetTime();
  const int32_t closed = frameCount;
  frameCount = 0;
  return closed;
}
