// A small program on the engine: eight vertical colour bars of known palette colours in the
// 320 x 240 full-screen display, flipped once. The P key then changes the colour of the first
// bar through the palette alone, with no new frame. Escape ends it.
#include <cstdio>

#include "display/display_engine.h"
#include "host/fatal_exit.h"
#include "host/main_window.h"
#include "host/shared_data.h"
#include "host/texts.h"
#include "host/timed_waits.h"

namespace {

struct Colour {
  int red, green, blue;
};
constexpr Colour barColours[8] = {{255, 0, 0},   {0, 255, 0},   {0, 0, 255},     {255, 255, 0},
                                  {0, 255, 255}, {255, 0, 255}, {255, 255, 255}, {128, 64, 32}};

void say(const char* line) {
  std::printf("%s\n", line);
  std::fflush(stdout);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previousInstance, LPSTR, int showCommand) {
  if (!createMainWindow(instance, previousInstance, showCommand))
    fatalExit(texts::windowCreationFailed);
  if (!displayEngine.setupDisplay(mainWindow, 320, 240, 1, 8, 2))
    fatalExit(texts::directDrawInitFailed);
  for (int bar = 0; bar < 8; ++bar) {
    const Colour& c = barColours[bar];
    displayEngine.setPaletteEntry(bar + 1, c.red, c.green, c.blue);
    displayEngine.fillRect8(1, bar * 40, 0, 40, 240, bar + 1);
  }
  displayEngine.presentFrame();
  say("bars shown");
  bool changed = false;
  for (;;) {
    waitFor(10);
    if (keyDown['P'] && !changed) {
      displayEngine.setPaletteEntry(1, 10, 20, 30);
      changed = true;
      say("palette changed");
    }
  }
}
