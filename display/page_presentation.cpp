// Putting a finished frame on the screen, and recovering lost surface memory.
#include "display/display_engine.h"

void DisplayEngine::presentFrame() {
  if (!holdsSurface(0) || !holdsSurface(1)) return;  // nothing set up to show
  if (fullscreen != 0) {
    surfaces[0]->Flip(nullptr, DDFLIP_WAIT);
    // The recorded addresses follow the page swap; the surface objects keep their slots.
    swapScratch = surfaceBits[1];
    surfaceBits[1] = surfaceBits[0];
    surfaceBits[0] = swapScratch;
    return;
  }
  // Windowed: a 1:1 copy to the window's client area; the clipper keeps it to the window.
  RECT target{windowOrigin.x, windowOrigin.y, windowOrigin.x + width, windowOrigin.y + height};
  RECT source{0, 0, width, height};
  surfaces[0]->Blt(&target, surfaces[1], &source, DDBLT_WAIT, nullptr);
}

void DisplayEngine::restoreSurfaces() {
  // Windowed slot 1 is the picture presentFrame copies from: without it restored the window
  // would never change again, so it is visited too.
  const int32_t firstOffscreen = fullscreen != 0 ? 2 : 1;
  for (int32_t slot = firstOffscreen; slot < surfaceCount; ++slot)
    if (holdsSurface(slot) && surfaces[slot]->IsLost() != DD_OK) surfaces[slot]->Restore();
  // Restoring the full-screen primary restores its back buffer with it.
  if (holdsSurface(0) && surfaces[0]->IsLost() != DD_OK) surfaces[0]->Restore();
  clearSurface(0);
  presentFrame();
}

HRESULT DisplayEngine::waitVerticalBlank() {
  if (directDraw == nullptr) return DDERR_INVALIDOBJECT;  // no display set up
  return directDraw->WaitForVerticalBlank(DDWAITVB_BLOCKBEGIN, nullptr);
}
