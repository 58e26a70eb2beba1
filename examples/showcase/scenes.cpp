#include "examples/showcase/scenes.h"

#include <initializer_list>

#include "display/display_engine.h"
#include "examples/showcase/artwork.h"
#include "host/timed_waits.h"

namespace {

constexpr DWORD plainCopy = DDBLTFAST_WAIT;
constexpr DWORD keyedCopy = DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT;

void copyWholeSlot(int32_t destSlot, int32_t sourceSlot) {
  displayEngine.blitRect(0, 0, 0, 0, screenWidth, screenHeight, destSlot, sourceSlot, plainCopy);
}

// Shows the back buffer. The flip waits for the display's next frame, which paces the scenes
// at 60 a second; one pass of the message pump then takes the keys.
void nextFrame() {
  displayEngine.presentFrame();
  waitSinceFrameStart(0);
}

}  // namespace

void fadeInFromBlack() {
  displayEngine.setBrightness(-255);
  copyWholeSlot(backBuffer, ringsPicture);
  nextFrame();
  displayEngine.fadeUp(-255, 0, 8, 15);
}

void dissolveBetweenPictures() {
  // Sixteen steps each way, each step held for a few frames so the pattern shows.
  copyWholeSlot(canvas, ringsPicture);
  for (int32_t to : {bandsPicture, ringsPicture}) {
    for (int8_t step = 0; step < 16; ++step) {
      displayEngine.dissolveCopy(0, 0, 0, 0, screenWidth, screenHeight, canvas, to, step, 0);
      for (int hold = 0; hold < 5; ++hold) {
        copyWholeSlot(backBuffer, canvas);
        nextFrame();
      }
    }
  }
}

void turningSprite() {
  for (int frame = 0; frame < 240; ++frame) {
    copyWholeSlot(backBuffer, bandsPicture);
    // Centred on the screen, a turn every two seconds.
    displayEngine.drawRotatedSprite((screenWidth - spriteSide) / 2, (screenHeight - spriteSide) / 2,
                                    0, 0, spriteSide, spriteSide, frame * 3, backBuffer, sprite);
    nextFrame();
  }
}

void sineWaveStrips() {
  for (int frame = 0; frame < 240; ++frame) {
    copyWholeSlot(backBuffer, bandsPicture);
    // The middle of the rings picture, its rows waving by up to 16 pixels.
    displayEngine.drawSineStrips(160, 120, 160, 120, 320, 240, backBuffer, ringsPicture, plainCopy,
                                 frame * 6.0f, 4.0f, 16.0f);
    nextFrame();
  }
}

void bitmapAndFontText() {
  for (int frame = 0; frame < 240; ++frame) {
    copyWholeSlot(backBuffer, ringsPicture);
    // x = -1 centres the line on the screen.
    displayEngine.drawBitmapFontText(backBuffer, -1, 60, "ENGINE SHOWCASE", keyedCopy);
    displayEngine.drawBitmapFontText(backBuffer, -1, 100 + frame / 2, "256 colours.", keyedCopy);
    displayEngine.drawFontText(-1, 360, screenWidth / 2, 0, "Font text with a shadow", 36, 0,
                               FW_BOLD, 3, RGB(255, 255, 255), 0, "", ANSI_CHARSET, backBuffer, 0);
    nextFrame();
  }
}

void filledCircles() {
  copyWholeSlot(canvas, bandsPicture);
  uint32_t seed = 12345;
  const auto next = [&seed](uint32_t range) {
    seed = seed * 1103515245u + 12345u;
    return static_cast<int32_t>((seed >> 8) % range);
  };
  for (int frame = 0; frame < 180; ++frame) {
    displayEngine.drawFilledCircle(canvas, next(screenWidth), next(screenHeight), 8 + next(40),
                                   1 + next(254));
    copyWholeSlot(backBuffer, canvas);
    nextFrame();
  }
}

void mosaic() {
  // Block sizes up to 32 and back down; 1 is the picture itself.
  for (int frame = 0; frame < 248; ++frame) {
    const int32_t block = 1 + (frame < 124 ? frame : 247 - frame) / 4;
    displayEngine.mosaicCopy(0, 0, 0, 0, screenWidth, screenHeight, backBuffer, canvas, block);
    nextFrame();
  }
}

void fadeOutToBlack() { displayEngine.fadeDown(0, -255, 8, 15); }
