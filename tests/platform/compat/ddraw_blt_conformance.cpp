// DirectDraw conformance: Blt and BltFast, and colour keys.
#include <string>

#include "tests/platform/compat/ddraw_conformance.h"

namespace conformance {

// Blits: fills and copies the arguments of which DirectDraw refuses, and colour keys.
void blits(IDirectDraw* directDraw) {
  IDirectDrawSurface* dest = offscreen(directDraw, 16, 16);
  IDirectDrawSurface* source = offscreen(directDraw, 16, 16);
  DDBLTFX fx{};
  fx.dwSize = sizeof fx;
  expect("Colour fill given a source surface",
         dest->Blt(nullptr, source, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx),
         DDERR_INVALIDPARAMS);
  RECT inverted{8, 8, 4, 4};
  expect("Colour fill of an inverted rectangle",
         dest->Blt(&inverted, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx),
         DDERR_INVALIDRECT);
  expect("Copy without a source to an inverted rectangle",
         dest->Blt(&inverted, nullptr, nullptr, DDBLT_WAIT, nullptr), DDERR_INVALIDPARAMS);
  fill(dest, 9);
  fx.dwFillColor = 3;
  expect("Colour fill with DDBLT_KEYSRC: no source, no key",
         dest->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_KEYSRC | DDBLT_WAIT, &fx),
         DDERR_INVALIDPARAMS);
  check("and draws nothing", pixelAt(dest, 5, 5) == 9);
  expect("Keyed copy from a surface without a key",
         dest->Blt(nullptr, source, nullptr, DDBLT_KEYSRC | DDBLT_WAIT, nullptr),
         DDERR_INVALIDPARAMS);
  // BltFast takes a surface without a key as keyed on colour 0.
  fill(source, 0);
  RECT rightHalf{8, 0, 16, 16};
  fillArea(source, &rightHalf, 5);
  fill(dest, 9);
  expect("Keyed BltFast from a surface without a key",
         dest->BltFast(0, 0, source, nullptr, DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT), DD_OK);
  check("leaves colour 0 out", pixelAt(dest, 3, 3) == 9);
  check("copies the other colours", pixelAt(dest, 12, 3) == 5);

  // A key given at creation is the surface's key.
  const DDCOLORKEY key{5, 5};
  IDirectDrawSurface* keyed = offscreen(directDraw, 16, 16, &key);
  check("A surface created with a source key", keyed != nullptr);
  if (keyed != nullptr) {
    fill(keyed, 5);
    RECT right{8, 0, 16, 16};
    fillArea(keyed, &right, 7);
    fill(dest, 9);
    expect("Keyed copy with the key from creation",
           dest->Blt(nullptr, keyed, nullptr, DDBLT_KEYSRC | DDBLT_WAIT, nullptr), DD_OK);
    check("the key's colour left out", pixelAt(dest, 2, 2) == 9);
    check("other colours copied", pixelAt(dest, 12, 2) == 7);
    fill(dest, 9);
    expect("BltFast with the key from creation",
           dest->BltFast(0, 0, keyed, nullptr, DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT), DD_OK);
    check("BltFast leaves the key's colour out", pixelAt(dest, 2, 2) == 9);
    keyed->Release();
  }
  dest->Release();
  source->Release();
}

// Colour keys are single colours here: a range (DDCKEY_COLORSPACE) is refused.
void keys(IDirectDraw* directDraw) {
  IDirectDrawSurface* surface = offscreen(directDraw, 16, 16);
  DDCOLORKEY range{16, 47};
  expect("A source key range", surface->SetColorKey(DDCKEY_SRCBLT | DDCKEY_COLORSPACE, &range),
         DDERR_NOCOLORKEYHW);
  DDCOLORKEY single{16, 16};
  expect("A single source key", surface->SetColorKey(DDCKEY_SRCBLT, &single), DD_OK);
  surface->Release();
}

}  // namespace conformance
