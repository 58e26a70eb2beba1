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

// Colour keys are single colours here: a range (DDCKEY_COLORSPACE) is refused and leaves the
// key the surface had, but a range of one colour is that colour.
void keys(IDirectDraw* directDraw) {
  IDirectDrawSurface* surface = offscreen(directDraw, 16, 16);
  const struct {
    const char* name;
    DWORD flags;
    DDCOLORKEY key;
    HRESULT result;
    DWORD keyAfter;
  } cases[] = {
      {"A single source key", 0, {5, 5}, DD_OK, 5},
      {"A source key range", DDCKEY_COLORSPACE, {16, 47}, DDERR_NOCOLORKEYHW, 5},
      {"A source key range of one colour", DDCKEY_COLORSPACE, {9, 9}, DD_OK, 9},
      {"An inverted source key range", DDCKEY_COLORSPACE, {47, 16}, DDERR_NOCOLORKEYHW, 9},
      {"A source key with a high value but no DDCKEY_COLORSPACE", 0, {20, 30}, DD_OK, 20},
  };
  for (const auto& c : cases) {
    DDCOLORKEY key = c.key;
    expect(c.name, surface->SetColorKey(DDCKEY_SRCBLT | c.flags, &key), c.result);
    DDSURFACEDESC desc = description();
    surface->GetSurfaceDesc(&desc);
    check(std::string(c.name) + ": the surface's key after it is " + std::to_string(c.keyAfter),
          (desc.dwFlags & DDSD_CKSRCBLT) && desc.ddckCKSrcBlt.dwColorSpaceLowValue == c.keyAfter &&
              desc.ddckCKSrcBlt.dwColorSpaceHighValue == c.keyAfter,
          "(" + std::to_string(desc.ddckCKSrcBlt.dwColorSpaceLowValue) + ".." +
              std::to_string(desc.ddckCKSrcBlt.dwColorSpaceHighValue) + ")");
  }
  surface->Release();
}

// Blits to the windowed primary with a clipper on a window inside it: what falls outside the
// window is trimmed on every side, and the source with it. Needs the 8-bit display mode set
// earlier by this DirectDraw object, back in the normal cooperative level.
void clippedBlits(IDirectDraw* directDraw) {
  HWND window = CreateWindowExA(0, "conformance", "clipped", WS_POPUP | WS_VISIBLE, 100, 80, 64, 48,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  DDSURFACEDESC desc = description();
  desc.dwFlags = DDSD_CAPS;
  desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
  IDirectDrawSurface* primary = nullptr;
  IDirectDrawClipper* clipper = nullptr;
  IDirectDrawSurface* source = offscreen(directDraw, 16, 16);
  if (window == nullptr || source == nullptr ||
      directDraw->CreateSurface(&desc, &primary, nullptr) != DD_OK ||
      directDraw->CreateClipper(0, &clipper, nullptr) != DD_OK) {
    check("Clipped blits: a window, a primary, a source and a clipper", false);
    return;
  }
  // Each source pixel tells where it came from.
  DDSURFACEDESC lock = description();
  if (source->Lock(nullptr, &lock, DDLOCK_WAIT, nullptr) == DD_OK) {
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x)
        static_cast<BYTE*>(lock.lpSurface)[y * lock.lPitch + x] = static_cast<BYTE>(x + 16 * y);
    source->Unlock(lock.lpSurface);
  }
  clipper->SetHWnd(0, window);
  const RECT inside{100, 80, 164, 128};
  const struct {
    const char* name;
    RECT to;
  } cases[] = {
      {"across the window's left edge", {93, 90, 109, 106}},
      {"across its top edge", {120, 71, 136, 87}},
      {"across its top-left corner", {90, 75, 106, 91}},
      {"across its bottom-right corner", {158, 117, 174, 133}},
  };
  for (const auto& c : cases) {
    const std::string name = std::string("A clipped blit ") + c.name;
    primary->SetClipper(nullptr);
    fill(primary, 200);
    primary->SetClipper(clipper);
    RECT to = c.to;
    expect(name, primary->Blt(&to, source, nullptr, DDBLT_WAIT, nullptr), DD_OK);
    // The rectangle's corners and the pixels on each side of the window's edges inside it.
    const int xs[] = {c.to.left,        inside.left - 1, inside.left,
                      inside.right - 1, inside.right,    c.to.right - 1};
    const int ys[] = {c.to.top,          inside.top - 1, inside.top,
                      inside.bottom - 1, inside.bottom,  c.to.bottom - 1};
    for (int y : ys)
      for (int x : xs) {
        if (x < c.to.left || x >= c.to.right || y < c.to.top || y >= c.to.bottom) continue;
        const bool drawn =
            x >= inside.left && x < inside.right && y >= inside.top && y < inside.bottom;
        const BYTE expected =
            drawn ? static_cast<BYTE>((x - c.to.left) + 16 * (y - c.to.top)) : BYTE{200};
        const BYTE actual = pixelAt(primary, x, y);
        check(name + ": pixel " + std::to_string(x) + "," + std::to_string(y) +
                  (drawn ? " from the source" : " left alone"),
              actual == expected,
              "(" + std::to_string(actual) + ", expected " + std::to_string(expected) + ")");
      }
  }
  primary->SetClipper(nullptr);
  clipper->Release();
  source->Release();
  primary->Release();
  DestroyWindow(window);
}

}  // namespace conformance
