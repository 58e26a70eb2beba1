#include "demo/frame_presentation.h"

#include <cstdio>

#include "demo/demo_slots.h"
#include "display/display_engine.h"
#include "host/shared_data.h"
#include "host/texts.h"
#include "host/timed_waits.h"

int32_t frameCount = 0;
uint32_t fpsIntervalStart = 0;
bool fpsIntervalStarted = false;

namespace {

constexpr uint32_t fpsInterval = 1000;  // milliseconds

}  // namespace

void finishFrame() {
  if (!fpsIntervalStarted) {
    fpsIntervalStart = timeGetTime();
    fpsIntervalStarted = true;
  }
  // The line drawn is the one formatted at the last update: it shows from the next frame on.
  displayEngine.drawText(pictureSlot, 0, 0, messageText);
  displayEngine.blitRect(0, 0, 0, 0, 320, 240, backBufferSlot, pictureSlot, DDBLTFAST_WAIT);
  displayEngine.presentFrame();
  frameCount = frameCount + 1;
  // The count of frames in an interval of at least a second, not a rate: a stall of 2.5 s
  // reports that interval's frames. Unsigned, so the wrap of the clock does no harm.
  if (timeGetTime() - fpsIntervalStart >= fpsInterval) {
    fpsIntervalStart = timeGetTime();
    std::snprintf(messageText, sizeof messageText, texts::fpsFormat, frameCount);
    frameCount = 0;
  }
  // The frame's one pass of message handling: frameStartTime is never marked here.
  waitSinceFrameStart(0);
}
