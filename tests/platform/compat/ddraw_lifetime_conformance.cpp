// DirectDraw conformance: lifetimes of palettes and clippers given back too often, or attached
// to a surface of another DirectDraw object.
#include <string>

#include "tests/platform/compat/ddraw_conformance.h"

namespace conformance {
namespace {

void expectCount(const std::string& name, ULONG actual, ULONG expected) {
  check(name, actual == expected,
        "(" + std::to_string(actual) + ", expected " + std::to_string(expected) + ")");
}

}  // namespace

// The caller releases the primary's palette, or its clipper, twice: its own reference and the
// surface's. Then it releases the back buffer, the primary and DirectDraw.
void stolenReferences() {
  HWND window = makeWindow();
  for (bool palette : {true, false}) {
    const std::string name = palette ? "The primary's palette" : "The primary's clipper";
    IDirectDraw* directDraw = nullptr;
    if (DirectDrawCreate(nullptr, &directDraw, nullptr) != DD_OK) {
      check(name + ": DirectDraw made", false);
      continue;
    }
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
      check(name + ": the flip chain made", false);
      directDraw->Release();
      continue;
    }
    IUnknown* object = nullptr;
    if (palette) {
      PALETTEENTRY colours[256] = {};
      IDirectDrawPalette* made = nullptr;
      directDraw->CreatePalette(DDPCAPS_8BIT, colours, &made, nullptr);
      expect(name + ": SetPalette", primary->SetPalette(made), DD_OK);
      object = made;
    } else {
      IDirectDrawClipper* made = nullptr;
      directDraw->CreateClipper(0, &made, nullptr);
      made->SetHWnd(0, window);
      expect(name + ": SetClipper", primary->SetClipper(made), DD_OK);
      object = made;
    }
    expectCount(name + ": the caller's own reference given back", object->Release(), 1);
    expectCount(name + ": the surface's reference given back too", object->Release(), 0);
    if (palette) {
      HDC dc = nullptr;
      const HRESULT got = primary->GetDC(&dc);
      expect(name + ": GetDC on the primary without it", got, DD_OK);
      if (got == DD_OK) primary->ReleaseDC(dc);
    }
    expectCount(name + ": the back buffer released", back->Release(), 1);
    expectCount(name + ": the primary released", primary->Release(), 0);
    expectCount(name + ": DirectDraw released", directDraw->Release(), 0);
  }
  DestroyWindow(window);
}

// A palette and a clipper of one DirectDraw object attached to a surface of another, and the
// first object released: the surface goes on with them.
void sharedObjects() {
  HWND window = makeWindow();
  IDirectDraw* maker = nullptr;
  IDirectDraw* user = nullptr;
  if (DirectDrawCreate(nullptr, &maker, nullptr) != DD_OK ||
      DirectDrawCreate(nullptr, &user, nullptr) != DD_OK) {
    check("Two DirectDraw objects made", false);
    return;
  }
  maker->SetCooperativeLevel(window, DDSCL_NORMAL);
  user->SetCooperativeLevel(window, DDSCL_NORMAL);
  PALETTEENTRY greys[256];
  for (int i = 0; i < 256; ++i)
    greys[i] = {static_cast<BYTE>(i), static_cast<BYTE>(i), static_cast<BYTE>(i), 0};
  IDirectDrawPalette* palette = nullptr;
  IDirectDrawClipper* clipper = nullptr;
  maker->CreatePalette(DDPCAPS_8BIT | DDPCAPS_ALLOW256, greys, &palette, nullptr);
  maker->CreateClipper(0, &clipper, nullptr);
  clipper->SetHWnd(0, window);
  IDirectDrawSurface* surface = offscreen(user, 16, 16);
  expect("SetPalette with another DirectDraw object's palette", surface->SetPalette(palette),
         DD_OK);
  expect("SetClipper with another DirectDraw object's clipper", surface->SetClipper(clipper),
         DD_OK);
  expectCount("The palette's maker released", maker->Release(), 0);
  HDC dc = nullptr;
  const HRESULT got = surface->GetDC(&dc);
  expect("GetDC on the surface after the palette's maker is gone", got, DD_OK);
  if (got == DD_OK) {
    SetPixel(dc, 3, 3, RGB(50, 50, 50));
    surface->ReleaseDC(dc);
    check("and its colours are still the palette's", pixelAt(surface, 3, 3) == 50);
  }
  DDBLTFX fx{};
  fx.dwSize = sizeof fx;
  fx.dwFillColor = 7;
  expect("A fill of the surface with the clipper's maker gone",
         surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx), DD_OK);
  check("fills it", pixelAt(surface, 15, 15) == 7);
  expectCount("The palette still counts the caller's and the surface's references",
              palette->AddRef(), 3);
  palette->Release();
  expectCount("The surface released", surface->Release(), 0);
  // The caller's own references stay: ddraw.dll stops answering when the last reference to a
  // palette goes after its maker. Ours go with the surface's DirectDraw object.
  expectCount("The surface's DirectDraw object released", user->Release(), 0);
  DestroyWindow(window);
}

}  // namespace conformance
