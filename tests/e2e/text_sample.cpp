// A small program on the engine that shows text on the real screen: a line in the default
// font (as the demo's FPS line is drawn), Japanese text with a drop shadow in a chosen face,
// a turned line, and filled circles. Escape ends it.
#include <cstdio>

#include "display/display_engine.h"
#include "display/palette_tables.h"
#include "host/fatal_exit.h"
#include "host/main_window.h"
#include "host/shared_data.h"
#include "host/texts.h"
#include "host/timed_waits.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previousInstance, LPSTR, int showCommand) {
  if (!createMainWindow(instance, previousInstance, showCommand))
    fatalExit(texts::windowCreationFailed);
  if (!displayEngine.setupDisplay(mainWindow, 320, 240, 1, 8, 3))
    fatalExit(texts::directDrawInitFailed);
  // A dark blue ramp, with black, white, yellow, cyan and red at the start.
  for (int i = 0; i < 256; ++i) displayEngine.setPaletteEntry(i, 10, 20, 40 + i / 2);
  displayEngine.setPaletteEntry(1, 0, 0, 0);
  displayEngine.setPaletteEntry(2, 255, 255, 255);
  displayEngine.setPaletteEntry(3, 255, 230, 0);
  displayEngine.setPaletteEntry(4, 0, 220, 255);
  displayEngine.setPaletteEntry(5, 230, 40, 40);
  displayEngine.fillSurface(2, 40);

  displayEngine.drawText(2, 0, 0, "FPS 60  default font");
  // "ぽこるん: 日本語のテキスト" in the face asked for as "ＭＳ ゴシック".
  displayEngine.drawFontText(-1, 60, 160, 0,
                             "\x82\xdb\x82\xb1\x82\xe9\x82\xf1\x3a\x20\x93\xfa\x96\x7b\x8c\xea"
                             "\x82\xcc\x83\x65\x83\x4c\x83\x58\x83\x67",
                             24, 0, FW_BOLD, 2, RGB(255, 230, 0), 0,
                             "\x82\x6c\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4e",
                             SHIFTJIS_CHARSET, 2, 0);
  displayEngine.drawFontText(20, 110, 0, 0, "Italic, 20 high", 20, 0, FW_NORMAL, 0,
                             RGB(0, 220, 255), 1, "", ANSI_CHARSET, 2, 0);
  displayEngine.drawFontText(300, 230, 0, 0, "turned 90", 16, 0, FW_NORMAL, 0, RGB(255, 255, 255),
                             0, "", ANSI_CHARSET, 2, 900);
  displayEngine.drawFilledCircle(2, 80, 180, 30, 5);
  displayEngine.drawFilledCircle(2, 160, 190, 15, 2);
  displayEngine.blitRect(0, 0, 0, 0, 320, 240, 1, 2, DDBLTFAST_WAIT);
  displayEngine.presentFrame();
  std::printf("text shown\n");
  std::fflush(stdout);
  for (;;) waitFor(10);
}
