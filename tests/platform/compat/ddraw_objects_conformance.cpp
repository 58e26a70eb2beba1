// DirectDraw conformance: creating surfaces, their palettes and clippers.
#include <string>

#include "tests/platform/compat/ddraw_conformance.h"

namespace conformance {

// A surface released after the caller has released the palette and clipper attached to it.
void attachments(IDirectDraw* directDraw, HWND window) {
  // (A normal-mode primary is left out: Wine's desktop there is not 8-bit, and refuses a
  // palette on it, where ours is a 256-colour desktop.)
  const struct {
    const char* name;
    IDirectDrawSurface* surface;
  } surfaces[] = {{"offscreen", offscreen(directDraw, 16, 16)},
                  {"second offscreen", offscreen(directDraw, 8, 8)}};
  for (const auto& c : surfaces) {
    const std::string name = c.name;
    if (c.surface == nullptr) {
      check(name + " surface made", false);
      continue;
    }
    PALETTEENTRY colours[256] = {};
    IDirectDrawPalette* palette = nullptr;
    IDirectDrawClipper* clipper = nullptr;
    expect(name + ": CreatePalette",
           directDraw->CreatePalette(DDPCAPS_8BIT, colours, &palette, nullptr), DD_OK);
    expect(name + ": CreateClipper", directDraw->CreateClipper(0, &clipper, nullptr), DD_OK);
    clipper->SetHWnd(0, window);
    expect(name + ": SetPalette", c.surface->SetPalette(palette), DD_OK);
    expect(name + ": SetClipper", c.surface->SetClipper(clipper), DD_OK);
    const ULONG paletteLeft = palette->Release();
    check(name + ": the palette's own reference given back, the surface's left", paletteLeft == 1,
          "(" + std::to_string(paletteLeft) + " left)");
    const ULONG clipperLeft = clipper->Release();
    check(name + ": the clipper's own reference given back, the surface's left", clipperLeft == 1,
          "(" + std::to_string(clipperLeft) + " left)");
    const ULONG surfaceLeft = c.surface->Release();
    check(name + ": the surface released, and with it the palette and clipper", surfaceLeft == 0,
          "(" + std::to_string(surfaceLeft) + " left)");
  }
}

// A DC on an offscreen surface with a palette of its own has exactly that palette's colours,
// the twenty the system keeps for itself in windowed mode included.
void ownPalette(IDirectDraw* directDraw) {
  IDirectDrawSurface* surface = offscreen(directDraw, 16, 16);
  PALETTEENTRY colours[256] = {};
  for (int i = 0; i < 256; ++i)
    colours[i] = {static_cast<BYTE>(i), static_cast<BYTE>(255 - i), static_cast<BYTE>(i / 2), 0};
  IDirectDrawPalette* palette = nullptr;
  directDraw->CreatePalette(DDPCAPS_8BIT | DDPCAPS_ALLOW256, colours, &palette, nullptr);
  surface->SetPalette(palette);
  HDC dc = nullptr;
  expect("GetDC on a surface with its own palette", surface->GetDC(&dc), DD_OK);
  for (int index : {3, 250, 128}) {
    const COLORREF colour =
        RGB(colours[index].peRed, colours[index].peGreen, colours[index].peBlue);
    SetPixel(dc, 0, 0, colour);
    check("entry " + std::to_string(index) + " of the surface's palette drawn as itself",
          GetPixel(dc, 0, 0) == colour);
  }
  surface->ReleaseDC(dc);
  palette->Release();
  surface->Release();
}

// Surfaces made by the caller with memory of its own are not made.
void callerMemory(IDirectDraw* directDraw) {
  unsigned char memory[16 * 16];
  DDSURFACEDESC desc = description();
  desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_LPSURFACE;
  desc.dwWidth = 16;
  desc.dwHeight = 16;
  desc.lpSurface = memory;
  desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
  IDirectDrawSurface* surface = nullptr;
  const HRESULT result = directDraw->CreateSurface(&desc, &surface, nullptr);
  expect("An offscreen surface on the caller's memory", result, DDERR_INVALIDPARAMS);
  if (result == DD_OK) surface->Release();
}

// Before any cooperative level nothing is made.
void noCooperativeLevel() {
  IDirectDraw* directDraw = nullptr;
  if (DirectDrawCreate(nullptr, &directDraw, nullptr) != DD_OK) return;
  DDSURFACEDESC desc = description();
  desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
  desc.dwWidth = 16;
  desc.dwHeight = 16;
  desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
  IDirectDrawSurface* surface = nullptr;
  expect("CreateSurface before a cooperative level",
         directDraw->CreateSurface(&desc, &surface, nullptr), DDERR_NOCOOPERATIVELEVELSET);
  directDraw->Release();
}

}  // namespace conformance
