// The engine object's construction and the globals beside it.
#include "display/display_engine.h"

#include "host/display_hooks.h"

DisplayEngine displayEngine;

LPDIRECTDRAWSURFACE surfaces[maxSurfaceSlots];
LPDIRECTDRAW directDraw;
LPDIRECTDRAWPALETTE displayPalette;
LPDIRECTDRAWCLIPPER windowClipper;
uint8_t* surfaceBits[maxSurfaceSlots];
int32_t surfacePitch[maxSurfaceSlots];
POINT windowOrigin;

DisplayEngine::DisplayEngine()
    : clearFx{},
      fillFx{},
      surfaceDesc{},
      surfaceCount(0),
      clipRect{},
      width(0),
      height(0),
      fullscreen(0),
      textExtent{},
      swapScratch(nullptr) {
  directDraw = nullptr;
  displayPalette = nullptr;
  for (LPDIRECTDRAWSURFACE& surface : surfaces) surface = nullptr;
  windowOrigin = {0, 0};
  clearFx.dwSize = sizeof(DDBLTFX);
  clearFx.dwFillColor = 0;
  fillFx.dwSize = sizeof(DDBLTFX);
  // The host ends the program and runs the window procedure; it reaches the engine only
  // through these.
  registerDisplayTeardown(
      [](void* engine) { static_cast<DisplayEngine*>(engine)->shutdownDisplay(); }, this);
  registerWindowMoved(
      [](void* engine) { static_cast<DisplayEngine*>(engine)->updateWindowOrigin(); }, this);
}
