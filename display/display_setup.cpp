// Display set-up and teardown: every DirectDraw object the engine uses is created here and
// released here.
#include "display/display_engine.h"
#include "display/palette_tables.h"
#include "host/fatal_exit.h"
#include "host/shared_data.h"

namespace {

DDSURFACEDESC clearedDescription() {
  DDSURFACEDESC desc{};
  desc.dwSize = sizeof desc;
  return desc;
}

// The cooperative level: exclusive full-screen, with mode X allowed for the 320 x 240 mode
// that only it offers; or the desktop shared with other windows.
DWORD cooperativeFlags(int32_t fullscreen, int32_t width, int32_t height) {
  if (fullscreen != 1) return DDSCL_NORMAL;
  const DWORD exclusive = DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN;
  return width == 320 && height == 240 ? exclusive | DDSCL_ALLOWMODEX : exclusive;
}

}  // namespace

int32_t DisplayEngine::setupDisplay(HWND window, int32_t width, int32_t height, int32_t fullscreen,
                                    int32_t bitsPerPixel, int32_t surfaceCount) {
  if (surfaceCount < 2 || surfaceCount > maxSurfaceSlots || (fullscreen != 0 && fullscreen != 1))
    return 0;
  this->surfaceCount = surfaceCount;
  this->width = width;
  this->height = height;
  this->fullscreen = fullscreen;
  clipRect = {0, 0, width, height};

  if (DirectDrawCreate(nullptr, &directDraw, nullptr) != DD_OK) return 0;
  if (directDraw->SetCooperativeLevel(window, cooperativeFlags(fullscreen, width, height)) != DD_OK)
    return 0;
  if (fullscreen == 1 && directDraw->SetDisplayMode(width, height, bitsPerPixel) != DD_OK) quit();

  DDSURFACEDESC primary = clearedDescription();
  if (fullscreen == 1) {
    primary.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    primary.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
    primary.dwBackBufferCount = 1;
  } else {
    primary.dwFlags = DDSD_CAPS;
    primary.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
  }
  if (directDraw->CreateSurface(&primary, &surfaces[0], nullptr) != DD_OK) return 0;

  if (fullscreen == 1) {
    DDSCAPS backBuffer{DDSCAPS_BACKBUFFER};
    if (surfaces[0]->GetAttachedSurface(&backBuffer, &surfaces[1]) != DD_OK) return 0;
  } else {
    // The clipper follows the application window, whichever window was passed in.
    if (directDraw->CreateClipper(0, &windowClipper, nullptr) != DD_OK) return 0;
    if (windowClipper->SetHWnd(0, mainWindow) != DD_OK) return 0;
    if (surfaces[0]->SetClipper(windowClipper) != DD_OK) return 0;
  }

  if (directDraw->CreatePalette(DDPCAPS_8BIT, basePalette, &displayPalette, nullptr) != DD_OK)
    return 0;
  surfaces[0]->SetPalette(displayPalette);

  DDSURFACEDESC offscreen = clearedDescription();
  offscreen.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PITCH;
  offscreen.dwWidth = static_cast<DWORD>(width);
  offscreen.dwHeight = static_cast<DWORD>(height);
  offscreen.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
  for (int32_t slot = fullscreen + 1; slot < surfaceCount; ++slot) {
    // Windowed slot 1 is left to DirectDraw's choice of memory; the work slots are in system
    // memory, where software reads and writes them fastest.
    if (slot >= 2) offscreen.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
    if (directDraw->CreateSurface(&offscreen, &surfaces[slot], nullptr) != DD_OK) return 0;
  }

  for (int32_t slot = 0; slot < surfaceCount; ++slot) clearSurface(slot);
  updateWindowOrigin();
  return 1;
}

void DisplayEngine::shutdownDisplay() {
  for (int32_t slot = 0; slot < surfaceCount; ++slot)
    if (surfaces[slot] != nullptr) clearSurface(slot);
  surfaceCount = 0;
  // The full-screen back buffer goes with the primary; the clipper with the DirectDraw object.
  for (int32_t slot = fullscreen == 1 ? 2 : 1; slot < maxSurfaceSlots; ++slot)
    if (surfaces[slot] != nullptr) surfaces[slot]->Release();
  if (displayPalette != nullptr) displayPalette->Release();
  if (surfaces[0] != nullptr) surfaces[0]->Release();
  if (directDraw != nullptr) directDraw->Release();
  directDraw = nullptr;
  displayPalette = nullptr;
  for (LPDIRECTDRAWSURFACE& surface : surfaces) surface = nullptr;
  windowOrigin = {0, 0};
}

void DisplayEngine::updateWindowOrigin() {
  windowOrigin = {0, 0};
  if (fullscreen != 0) return;
  RECT window;
  // Before CreateWindowExA has returned there is no mainWindow to ask; set-up asks again.
  if (!GetWindowRect(mainWindow, &window)) return;
  windowOrigin.x = window.left + GetSystemMetrics(SM_CXBORDER) + 2;
  windowOrigin.y = window.top + GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYBORDER) + 2;
}

HRESULT DisplayEngine::clearSurface(int32_t slot) {
  if (!holdsSurface(slot)) return DDERR_INVALIDPARAMS;
  return surfaces[slot]->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &clearFx);
}
