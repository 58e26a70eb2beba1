#include "demo/frame_presentation.h"

#include <cstdio>

#include "demo/demo_slots.h"
#include "display/display_engine.h"
#include "host/frame_rate.h"
#include "host/shared_data.h"
#include "host/texts.h"
#include "host/timed_waits.h"

int32_t frameCount = 0;
uint32_t fpsIntervalStart = 0;
bool fpsIntervalStarted = false;

void finishFrame() {
  if (!fpsIntervalStarted) {
    fpsIntervalStart = timeGetTime();
    fpsIntervalStarted = true;
  }
  // The line drawn is the one formatted at the last update: it shows from the next frame on.
  displayEngine.drawText(pictureSlot, 0, 0, messageText);
  displayEngine.blitRect(0, 0, 0, 0, 320, 240, backBufferSlot, pictureSlot, DDBLTFAST_WAIT);
  displayEngine.presentFrame();
  // The line changes once an interval of at least a second has closed.
  const int32_t closedInterval = countPresentedFrame(frameCount, fpsIntervalStart);
  if (closedInterval >= 0)
    std::snprintf(messageText, sizeof messageText, texts::fpsFormat, closedInterval);
  // The frame's one pass of message handling: frameStartTime is never marked here.
  waitSinceFrameStart(0);
}
