// DirectDraw conformance: device contexts of surfaces over time, the colours GetDC gives them and
// their end with the surface.
#include <string>
#include <vector>

#include "tests/platform/compat/ddraw_conformance.h"

namespace conformance {
namespace {

// Entry i is (i, 255 - i, i / 2): every entry a colour of its own.
void rampColours(PALETTEENTRY (&entries)[256]) {
  for (int i = 0; i < 256; ++i)
    entries[i] = {static_cast<BYTE>(i), static_cast<BYTE>(255 - i), static_cast<BYTE>(i / 2), 0};
}

IDirectDrawPalette* rampPalette(IDirectDraw* directDraw) {
  PALETTEENTRY entries[256];
  rampColours(entries);
  IDirectDrawPalette* palette = nullptr;
  directDraw->CreatePalette(DDPCAPS_8BIT | DDPCAPS_ALLOW256, entries, &palette, nullptr);
  return palette;
}

// The entry of least squared RGB distance, the lowest on ties.
BYTE nearestIndex(const PALETTEENTRY (&entries)[256], COLORREF colour) {
  int best = 0;
  long bestDistance = -1;
  for (int i = 0; i < 256; ++i) {
    const long dr = entries[i].peRed - GetRValue(colour);
    const long dg = entries[i].peGreen - GetGValue(colour);
    const long db = entries[i].peBlue - GetBValue(colour);
    const long distance = dr * dr + dg * dg + db * db;
    if (bestDistance < 0 || distance < bestDistance) {
      best = i;
      bestDistance = distance;
    }
  }
  return static_cast<BYTE>(best);
}

// Draws the colour at (0, 0) through the context, gives it back, and reads the index drawn.
BYTE drawnThrough(IDirectDrawSurface* surface, HDC dc, COLORREF colour) {
  SetPixel(dc, 0, 0, colour);
  surface->ReleaseDC(dc);
  return pixelAt(surface, 0, 0);
}

BYTE drawnThroughANewContext(IDirectDrawSurface* surface, COLORREF colour) {
  HDC dc = nullptr;
  if (surface->GetDC(&dc) != DD_OK) return 0xEE;
  return drawnThrough(surface, dc, colour);
}

void checkIndex(const std::string& name, BYTE actual, BYTE expected) {
  check(name, actual == expected,
        "(index " + std::to_string(actual) + ", expected " + std::to_string(expected) + ")");
}

struct EntryChange {
  std::string name;
  IDirectDrawSurface* surface;
  IDirectDrawPalette* palette;  // whose entry changes while a context is out
  DWORD entry;
};

// A context taken before a palette entry changes matches into the colours it was given; the
// next context into the new ones. The entry is put back after each case.
void contextsKeepTheirColours(const std::vector<EntryChange>& cases) {
  PALETTEENTRY ramp[256];
  rampColours(ramp);
  BYTE blue = 30;
  for (const EntryChange& c : cases) {
    PALETTEENTRY changed{10, 20, blue++, 0};
    const COLORREF colour = RGB(changed.peRed, changed.peGreen, changed.peBlue);
    HDC dc = nullptr;
    if (c.surface == nullptr || c.palette == nullptr || c.surface->GetDC(&dc) != DD_OK) {
      check(c.name + ": a context", false);
      continue;
    }
    c.palette->SetEntries(0, c.entry, 1, &changed);
    checkIndex(c.name + ": a context taken before SetEntries keeps the old colours",
               drawnThrough(c.surface, dc, colour), nearestIndex(ramp, colour));
    checkIndex(c.name + ": the next context has the new ones",
               drawnThroughANewContext(c.surface, colour), static_cast<BYTE>(c.entry));
    c.palette->SetEntries(0, c.entry, 1, &ramp[c.entry]);
  }
}

}  // namespace

// Windowed: a surface's context keeps the colours of its palette as they were at GetDC.
void windowedContexts(IDirectDraw* directDraw) {
  IDirectDrawSurface* surface = offscreen(directDraw, 16, 16);
  IDirectDrawPalette* palette = rampPalette(directDraw);
  if (surface == nullptr || palette == nullptr) {
    check("Windowed contexts: a surface and a palette", false);
    return;
  }
  surface->SetPalette(palette);
  contextsKeepTheirColours({{"Windowed, the surface's own palette", surface, palette, 100}});

  // Another palette set while a context is out reaches the next context only.
  PALETTEENTRY ramp[256];
  rampColours(ramp);
  PALETTEENTRY other[256];
  rampColours(other);
  other[200] = {77, 88, 99, 0};
  IDirectDrawPalette* replacement = nullptr;
  directDraw->CreatePalette(DDPCAPS_8BIT | DDPCAPS_ALLOW256, other, &replacement, nullptr);
  HDC dc = nullptr;
  if (surface->GetDC(&dc) == DD_OK) {
    expect("Windowed, SetPalette while a context is out", surface->SetPalette(replacement), DD_OK);
    const COLORREF colour = RGB(77, 88, 99);
    checkIndex("Windowed, a context taken before SetPalette keeps the old palette's colours",
               drawnThrough(surface, dc, colour), nearestIndex(ramp, colour));
    checkIndex("Windowed, the next context has the new palette's",
               drawnThroughANewContext(surface, colour), 200);
  }
  replacement->Release();
  palette->Release();
  surface->Release();
}

// Exclusive: the same for the primary, its back buffer and offscreen surfaces, with their own
// palette or in the primary's colours.
void fullScreenContexts() {
  HWND window = makeWindow();
  IDirectDraw* directDraw = nullptr;
  if (DirectDrawCreate(nullptr, &directDraw, nullptr) != DD_OK) return;
  directDraw->SetCooperativeLevel(window, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN);
  directDraw->SetDisplayMode(320, 240, 8);
  DDSURFACEDESC desc = description();
  desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
  desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_COMPLEX | DDSCAPS_FLIP;
  desc.dwBackBufferCount = 1;
  IDirectDrawSurface* primary = nullptr;
  IDirectDrawSurface* back = nullptr;
  DDSCAPS backCaps{DDSCAPS_BACKBUFFER};
  if (directDraw->CreateSurface(&desc, &primary, nullptr) != DD_OK ||
      primary->GetAttachedSurface(&backCaps, &back) != DD_OK) {
    check("Full-screen contexts: the flip chain", false);
    directDraw->Release();
    return;
  }
  IDirectDrawPalette* screen = rampPalette(directDraw);
  primary->SetPalette(screen);
  IDirectDrawSurface* ownColours = offscreen(directDraw, 16, 16);
  IDirectDrawPalette* own = rampPalette(directDraw);
  ownColours->SetPalette(own);
  IDirectDrawSurface* primaryColours = offscreen(directDraw, 16, 16);
  contextsKeepTheirColours({
      {"Full screen, the primary", primary, screen, 100},
      {"Full screen, the back buffer", back, screen, 101},
      {"Full screen, an offscreen surface with its own palette", ownColours, own, 102},
      {"Full screen, an offscreen surface in the primary's colours", primaryColours, screen, 150},
  });
  primaryColours->Release();
  ownColours->Release();
  own->Release();
  screen->Release();
  back->Release();
  primary->Release();
  directDraw->Release();
  DestroyWindow(window);
}

// A surface released while its context is out: GDI refuses the context as a deleted one.
void contextsEndWithSurface(IDirectDraw* directDraw) {
  IDirectDrawSurface* surface = offscreen(directDraw, 16, 16);
  HDC dc = nullptr;
  if (surface == nullptr || surface->GetDC(&dc) != DD_OK) {
    check("A context on a surface", false);
    return;
  }
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
  SelectObject(dc, pen);
  check("SetPixel while the surface lives", SetPixel(dc, 1, 1, RGB(255, 255, 255)) != CLR_INVALID);
  check("The surface released with its context out", surface->Release() == 0);
  // ddraw.dll may finish giving the surface back after Release returns (on a thread of its
  // own); a context made for another surface waits for that.
  if (IDirectDrawSurface* another = offscreen(directDraw, 8, 8)) {
    HDC other = nullptr;
    if (another->GetDC(&other) == DD_OK) another->ReleaseDC(other);
    another->Release();
  }
  check("SetPixel on the context of a released surface",
        SetPixel(dc, 1, 1, RGB(255, 255, 255)) == CLR_INVALID);
  check("GetPixel on it", GetPixel(dc, 1, 1) == CLR_INVALID);
  check("TextOutA on it", !TextOutA(dc, 0, 0, "x", 1));
  check("SetTextColor on it", SetTextColor(dc, RGB(1, 2, 3)) == CLR_INVALID);
  check("SetBkMode on it", SetBkMode(dc, TRANSPARENT) == 0);
  check("SelectObject on it", SelectObject(dc, GetStockObject(BLACK_PEN)) == nullptr);
  check("A pen selected into it can be deleted", DeleteObject(pen) != FALSE);
}

}  // namespace conformance
