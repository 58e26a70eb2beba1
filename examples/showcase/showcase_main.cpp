// engine-showcase: a second program on the engine, showing its effects in turn at 640 x 480
// with 256 colours, full-screen, until Escape. No files are needed: the palette, the
// pictures, the sprite and the bitmap font's glyphs are drawn at start-up.
#include "display/display_engine.h"
#include "examples/showcase/artwork.h"
#include "examples/showcase/scenes.h"
#include "host/fatal_exit.h"
#include "host/main_window.h"
#include "host/shared_data.h"
#include "host/texts.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previousInstance, LPSTR, int showCommand) {
  if (!createMainWindow(instance, previousInstance, showCommand))
    fatalExit(texts::windowCreationFailed);
  if (!displayEngine.setupDisplay(mainWindow, screenWidth, screenHeight, 1, 8, slotCount))
    fatalExit(texts::directDrawInitFailed);
  makePalette();
  makePictures();
  makeSprite();
  makeGlyphSheet();

  fadeInFromBlack();
  for (;;) {
    dissolveBetweenPictures();
    turningSprite();
    sineWaveStrips();
    bitmapAndFontText();
    filledCircles();
    mosaic();
    fadeOutToBlack();
    fadeInFromBlack();
  }
}
