// The smallest complete program on the engine: a window, a 320 x 240 display in 256 colours,
// a palette of four entries, and a frame loop that draws a ball crossing the screen and a
// line of text until Escape (or Pause, a right click, closing the window) ends it.
#include <cstdint>
#include <cstdio>

#include "display/display_engine.h"  // displayEngine: set-up, drawing, palette, presentFrame
#include "host/fatal_exit.h"         // fatalExit: a message box, then the end
#include "host/frame_rate.h"         // countPresentedFrame: frames per second
#include "host/main_window.h"        // createMainWindow and the window procedure
#include "host/shared_data.h"        // mainWindow
#include "host/texts.h"              // texts::: the system's message texts
#include "host/timed_waits.h"        // waitSinceFrameStart: where keys are handled
#include "platform/win32.h"          // WinMain's types, timeGetTime

namespace {

constexpr int32_t screenWidth = 320;
constexpr int32_t screenHeight = 240;
constexpr int32_t fullScreen = 1;
constexpr int32_t backBuffer = 1;  // slot 1: every frame is drawn here, then shown
constexpr int32_t slotCount = 2;   // the primary surface and the back buffer
constexpr int32_t sky = 1;         // palette entries; entry 0 stays black
constexpr int32_t ball = 2;
constexpr int32_t paper = 255;  // the text's white box
constexpr int32_t ballRadius = 24;

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previousInstance, LPSTR, int showCommand) {
  if (!createMainWindow(instance, previousInstance, showCommand))
    fatalExit(texts::windowCreationFailed);
  if (!displayEngine.setupDisplay(mainWindow, screenWidth, screenHeight, fullScreen, 8, slotCount))
    fatalExit(texts::directDrawInitFailed);
  displayEngine.setPaletteEntry(sky, 40, 70, 150);
  displayEngine.setPaletteEntry(ball, 250, 200, 40);
  // Text is drawn black on white, each as its nearest palette entry: both must be there.
  displayEngine.setPaletteEntry(paper, 255, 255, 255);

  char line[32] = "Hello from the engine";
  int32_t frameCount = 0;
  uint32_t intervalStart = timeGetTime();
  for (int32_t x = 0;; x = (x + 2) % screenWidth) {
    displayEngine.fillRect8(backBuffer, 0, 0, screenWidth, screenHeight, sky);
    displayEngine.drawFilledCircle(backBuffer, x, screenHeight / 2, ballRadius, ball);
    displayEngine.drawText(backBuffer, 8, 8, line);
    // The flip waits for the display's next frame: it paces the loop at 60 a second.
    displayEngine.presentFrame();
    const int32_t framesLastSecond = countPresentedFrame(frameCount, intervalStart);
    if (framesLastSecond >= 0)
      std::snprintf(line, sizeof line, "%d frames a second", framesLastSecond);
    // One pass of the message pump: Escape and the other quit keys end the program in here.
    waitSinceFrameStart(0);
  }
}
