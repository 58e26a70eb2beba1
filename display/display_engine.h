// The display engine: one global object through which everything is drawn, and the DirectDraw
// references and per-slot lock results that live beside it. A surface slot is an index 0..14
// into `surfaces`: slot 0 the primary surface, slot 1 the back buffer (full-screen) or the work
// surface presented into the window (windowed), slots 2 and up offscreen surfaces in system
// memory, all of the display's size.
#pragma once

#include <cstdint>

#include "platform/win32.h"

inline constexpr int maxSurfaceSlots = 15;

struct DisplayEngine {
  // Constructed once, before WinMain; never destroyed (shutdownDisplay is the clean-up).
  DisplayEngine();

  // Creates the DirectDraw object, the primary surface (with its back buffer in full-screen),
  // the palette from basePalette, the clipper (windowed) and the offscreen slots, and clears
  // every slot to colour 0. 1 on success; 0 as soon as a step fails, keeping what was made
  // (shutdownDisplay releases it). A display mode that cannot be set ends the program.
  int32_t setupDisplay(HWND window, int32_t width, int32_t height, int32_t fullscreen,
                       int32_t bitsPerPixel, int32_t surfaceCount);
  // Releases every DirectDraw object that exists. Safe at any time, and more than once.
  void shutdownDisplay();
  // Recomputes windowOrigin from the window's place; called when the window moves.
  void updateWindowOrigin();
  // Fills the slot's whole surface with colour 0; the Blt result.
  HRESULT clearSurface(int32_t slot);

  // Locks the slot's whole surface and records its first pixel and pitch in surfaceBits and
  // surfacePitch. A failed lock leaves a null address and pitch 0, which the pixel routines
  // check before they write.
  void lockSurface(int32_t slot);
  // Gives back the lock taken by lockSurface, with the address that lock handed out.
  HRESULT unlockSurface(int32_t slot);

  DDBLTFX clearFx;                            // colour 0 fills of clearSurface and clearRect
  DDBLTFX fillFx;                             // colour fills; keeps the last colour used
  DDSURFACEDESC surfaceDesc[maxSurfaceSlots]; // each slot's lock record
  int32_t surfaceCount;                       // slots in use; 0 before set-up and after teardown
  RECT clipRect;                              // the clipped copies' bounds, right/bottom exclusive
  int32_t width;                              // display size, and every offscreen slot's
  int32_t height;
  int32_t fullscreen;                         // 1: exclusive with page flips; 0: windowed
  SIZE textExtent;                            // size of the last font text drawn
  uint8_t* swapScratch;                       // used while presentFrame swaps two surfaceBits
};

extern DisplayEngine displayEngine;

extern LPDIRECTDRAWSURFACE surfaces[maxSurfaceSlots];
extern LPDIRECTDRAW directDraw;
extern LPDIRECTDRAWPALETTE displayPalette;
extern LPDIRECTDRAWCLIPPER windowClipper;  // windowed mode only; bound to mainWindow
extern uint8_t* surfaceBits[maxSurfaceSlots];
extern int32_t surfacePitch[maxSurfaceSlots];
extern POINT windowOrigin;  // the window's client area on the desktop; (0, 0) in full-screen
