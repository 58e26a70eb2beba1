#include "demo/startup.h"

#include <cmath>
#include <cstdio>

#include "demo/animation.h"
#include "demo/demo_slots.h"
#include "demo/frame_presentation.h"
#include "demo/texture_mapper.h"
#include "display/angle_factors.h"
#include "display/display_engine.h"
#include "host/fatal_exit.h"
#include "host/main_window.h"
#include "host/shared_data.h"
#include "host/texts.h"

float cosTable[360];
float sinTable[360];

namespace {

const char textureFile[] = "texture.bmp";

}  // namespace

void initApplication(HINSTANCE instance, HINSTANCE previousInstance, int showCommand) {
  if (!createMainWindow(instance, previousInstance, showCommand))
    fatalExit(texts::windowCreationFailed);
  if (!displayEngine.setupDisplay(mainWindow, pictureWidth, pictureHeight, 1, 8, demoSurfaceCount))
    fatalExit(texts::directDrawInitFailed);
  displayEngine.loadPaletteFromBmp(textureFile);
  displayEngine.loadBitmapToSurface(textureFile, textureSide, textureSide, 0, 0, 0, 0, textureSlot);
  std::snprintf(messageText, sizeof messageText, texts::fpsFormat, 0);
  for (int i = 0; i < 360; ++i) {
    const double radians = i * radiansPerDegree;
    cosTable[i] = static_cast<float>(std::cos(radians));
    sinTable[i] = static_cast<float>(std::sin(radians));
  }
}

void runFrameLoop() {
  for (;;) {
    advanceAnimation();
    mapTextureBlocks();
    finishFrame();
  }
}
