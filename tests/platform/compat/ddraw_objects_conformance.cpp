// DirectDraw conformance: creating surfaces, their palettes and clippers.
#include <string>

#include "tests/platform/compat/ddraw_conformance.h"

namespace conformance {

// A surface released after the caller has released the palette and clipper attached to it, and
// one released while the caller still holds them: the surface gives back what it holds.
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

  IDirectDrawSurface* surface = offscreen(directDraw, 16, 16);
  PALETTEENTRY colours[256] = {};
  IDirectDrawPalette* palette = nullptr;
  IDirectDrawClipper* clipper = nullptr;
  directDraw->CreatePalette(DDPCAPS_8BIT, colours, &palette, nullptr);
  directDraw->CreateClipper(0, &clipper, nullptr);
  if (surface == nullptr || palette == nullptr || clipper == nullptr) {
    check("A surface, a palette and a clipper", false);
    return;
  }
  clipper->SetHWnd(0, window);
  surface->SetPalette(palette);
  surface->SetClipper(clipper);
  const ULONG paletteHeld = palette->AddRef();
  palette->Release();
  const ULONG clipperHeld = clipper->AddRef();
  clipper->Release();
  check("An attached palette counts the caller's and the surface's references", paletteHeld == 3,
        "(" + std::to_string(paletteHeld) + " after AddRef)");
  check("An attached clipper counts the caller's and the surface's references", clipperHeld == 3,
        "(" + std::to_string(clipperHeld) + " after AddRef)");
  surface->Release();
  const ULONG paletteLeft = palette->Release();
  check("The surface released: the palette's last reference is the caller's", paletteLeft == 0,
        "(" + std::to_string(paletteLeft) + " left)");
  const ULONG clipperLeft = clipper->Release();
  check("The surface released: the clipper's last reference is the caller's", clipperLeft == 0,
        "(" + std::to_string(clipperLeft) + " left)");
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

// Surfaces made by the caller with memory of its own are not made: in system memory the
// argument is refused, elsewhere the caps.
void callerMemory(IDirectDraw* directDraw) {
  unsigned char memory[16 * 16];
  const struct {
    const char* name;
    DWORD flags;
    DWORD caps;
    HRESULT result;
  } cases[] = {
      {"An offscreen surface on the caller's memory", DDSD_WIDTH | DDSD_HEIGHT,
       DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY, DDERR_INVALIDPARAMS},
      {"A video-memory surface on the caller's memory", DDSD_WIDTH | DDSD_HEIGHT,
       DDSCAPS_OFFSCREENPLAIN | DDSCAPS_VIDEOMEMORY, DDERR_INVALIDCAPS},
      {"A surface on the caller's memory, its kind left to DirectDraw", DDSD_WIDTH | DDSD_HEIGHT,
       DDSCAPS_OFFSCREENPLAIN, DDERR_INVALIDCAPS},
      {"A video-memory surface on the caller's memory, without a size", 0,
       DDSCAPS_OFFSCREENPLAIN | DDSCAPS_VIDEOMEMORY, DDERR_INVALIDPARAMS},
      {"The primary on the caller's memory", 0, DDSCAPS_PRIMARYSURFACE, DDERR_INVALIDCAPS},
  };
  for (const auto& c : cases) {
    DDSURFACEDESC desc = description();
    desc.dwFlags = DDSD_CAPS | DDSD_LPSURFACE | c.flags;
    desc.dwWidth = 16;
    desc.dwHeight = 16;
    desc.lpSurface = memory;
    desc.ddsCaps.dwCaps = c.caps;
    IDirectDrawSurface* surface = nullptr;
    const HRESULT result = directDraw->CreateSurface(&desc, &surface, nullptr);
    expect(c.name, result, c.result);
    if (result == DD_OK) surface->Release();
  }
}

// Before any cooperative level nothing is made, and that is the answer whatever was passed.
void noCooperativeLevel() {
  IDirectDraw* directDraw = nullptr;
  if (DirectDrawCreate(nullptr, &directDraw, nullptr) != DD_OK) return;
  DDSURFACEDESC desc = description();
  desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
  desc.dwWidth = 16;
  desc.dwHeight = 16;
  desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
  DDSURFACEDESC wrongSize = desc;
  wrongSize.dwSize = 5;
  IDirectDrawSurface* surface = nullptr;
  const struct {
    const char* name;
    DDSURFACEDESC* desc;
    IDirectDrawSurface** out;
  } cases[] = {
      {"CreateSurface before a cooperative level", &desc, &surface},
      {"CreateSurface before a cooperative level, with a null description", nullptr, &surface},
      {"CreateSurface before a cooperative level, with nowhere to put it", &desc, nullptr},
      {"CreateSurface before a cooperative level, with a description of the wrong size", &wrongSize,
       &surface},
  };
  for (const auto& c : cases)
    expect(c.name, directDraw->CreateSurface(c.desc, c.out, nullptr), DDERR_NOCOOPERATIVELEVELSET);
  directDraw->Release();
}

}  // namespace conformance
