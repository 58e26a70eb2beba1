// DirectDraw's answers for what the platform layer implements, as tables of cases with the
// result DirectDraw gives (the way its documentation and Wine's conformance tests put it). A
// plain program that prints each case and counts the failures, so that the same source runs
// against our layer on Linux and against the real ddraw.dll under Wine: each expectation is
// confirmed by the real thing. Status 0 when every case holds.
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/win32.h"

namespace {

int failures = 0;
int cases = 0;

void check(const std::string& name, bool holds, const std::string& detail = "") {
  ++cases;
  if (holds) {
    std::printf("ok: %s\n", name.c_str());
  } else {
    ++failures;
    std::printf("FAILED: %s %s\n", name.c_str(), detail.c_str());
  }
}

std::string hex(HRESULT result) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08x", static_cast<unsigned>(result));
  return text;
}

void expect(const std::string& name, HRESULT actual, HRESULT expected) {
  check(name, actual == expected, "(" + hex(actual) + ", expected " + hex(expected) + ")");
}

LRESULT WINAPI quietProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND makeWindow() {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = quietProcedure;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "conformance";
  RegisterClassA(&windowClass);
  return CreateWindowExA(0, "conformance", "conformance", WS_POPUP | WS_VISIBLE, 0, 0, 64, 64,
                         nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

DDSURFACEDESC description() {
  DDSURFACEDESC desc{};
  desc.dwSize = sizeof desc;
  return desc;
}

IDirectDrawSurface* offscreen(IDirectDraw* directDraw, int width, int height,
                              const DDCOLORKEY* sourceKey = nullptr) {
  DDSURFACEDESC desc = description();
  desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
  desc.dwWidth = static_cast<DWORD>(width);
  desc.dwHeight = static_cast<DWORD>(height);
  desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
  desc.ddpfPixelFormat.dwSize = sizeof(DDPIXELFORMAT);
  desc.ddpfPixelFormat.dwFlags = DDPF_RGB | DDPF_PALETTEINDEXED8;
  desc.ddpfPixelFormat.dwRGBBitCount = 8;
  if (sourceKey != nullptr) {
    desc.dwFlags |= DDSD_CKSRCBLT;
    desc.ddckCKSrcBlt = *sourceKey;
  }
  IDirectDrawSurface* surface = nullptr;
  if (directDraw->CreateSurface(&desc, &surface, nullptr) != DD_OK) return nullptr;
  return surface;
}

void fill(IDirectDrawSurface* surface, BYTE index) {
  DDBLTFX fx{};
  fx.dwSize = sizeof fx;
  fx.dwFillColor = index;
  surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx);
}

BYTE pixelAt(IDirectDrawSurface* surface, int x, int y) {
  DDSURFACEDESC desc = description();
  if (surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr) != DD_OK) return 0xEE;
  const BYTE value = static_cast<const BYTE*>(desc.lpSurface)[y * desc.lPitch + x];
  surface->Unlock(desc.lpSurface);
  return value;
}

// Locks: what a lock of a part of a surface, or of a larger description, answers.
void locks(IDirectDraw* directDraw) {
  IDirectDrawSurface* surface = offscreen(directDraw, 16, 16);
  const struct {
    const char* name;
    RECT rect;
    HRESULT result;
  } rects[] = {
      {"Lock of the whole surface by its rectangle", {0, 0, 16, 16}, DD_OK},
      {"Lock of a part", {4, 4, 8, 8}, DD_OK},
      {"Lock of an inverted rectangle", {8, 8, 4, 4}, DDERR_INVALIDPARAMS},
      {"Lock of a rectangle past the right edge", {0, 0, 17, 16}, DDERR_INVALIDPARAMS},
      {"Lock of a rectangle above the top", {0, -1, 16, 16}, DDERR_INVALIDPARAMS},
  };
  for (const auto& c : rects) {
    DDSURFACEDESC desc = description();
    desc.lpSurface = &desc;  // to see whether a refused lock clears it
    RECT rect = c.rect;
    const HRESULT result = surface->Lock(&rect, &desc, DDLOCK_WAIT, nullptr);
    expect(c.name, result, c.result);
    if (result == DD_OK) {
      check(std::string(c.name) + ": no DDSD_LPSURFACE among the flags",
            !(desc.dwFlags & DDSD_LPSURFACE));
      surface->Unlock(nullptr);
    } else {
      check(std::string(c.name) + ": the address cleared", desc.lpSurface == nullptr);
    }
  }
  // A description of the second generation's size (DDSURFACEDESC2: 16 bytes more).
  unsigned char larger[sizeof(DDSURFACEDESC) + 16] = {};
  auto* desc2 = reinterpret_cast<DDSURFACEDESC*>(larger);
  desc2->dwSize = sizeof larger;
  const HRESULT locked = surface->Lock(nullptr, desc2, DDLOCK_WAIT, nullptr);
  expect("Lock with the larger description", locked, DD_OK);
  if (locked == DD_OK) surface->Unlock(nullptr);

  DDSURFACEDESC desc = description();
  surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr);
  HDC dc = nullptr;
  const HRESULT got = surface->GetDC(&dc);
  expect("GetDC on a locked surface", got, DD_OK);
  if (got == DD_OK) surface->ReleaseDC(dc);
  surface->Unlock(nullptr);
  surface->Release();
}

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
  expect("Keyed copy from a surface without a key",
         dest->Blt(nullptr, source, nullptr, DDBLT_KEYSRC | DDBLT_WAIT, nullptr),
         DDERR_INVALIDPARAMS);
  // BltFast takes a surface without a key as keyed on colour 0.
  fill(source, 0);
  RECT rightHalf{8, 0, 16, 16};
  DDBLTFX five{};
  five.dwSize = sizeof five;
  five.dwFillColor = 5;
  source->Blt(&rightHalf, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &five);
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
    DDBLTFX seven{};
    seven.dwSize = sizeof seven;
    seven.dwFillColor = 7;
    keyed->Blt(&right, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &seven);
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

// A surface released after the caller has released the palette and clipper attached to it.
void attachments(IDirectDraw* directDraw, HWND window) {
  IDirectDrawSurface* surface = offscreen(directDraw, 16, 16);
  PALETTEENTRY colours[256] = {};
  IDirectDrawPalette* palette = nullptr;
  IDirectDrawClipper* clipper = nullptr;
  expect("CreatePalette", directDraw->CreatePalette(DDPCAPS_8BIT, colours, &palette, nullptr),
         DD_OK);
  expect("CreateClipper", directDraw->CreateClipper(0, &clipper, nullptr), DD_OK);
  clipper->SetHWnd(0, window);
  expect("SetPalette on an offscreen surface", surface->SetPalette(palette), DD_OK);
  expect("SetClipper", surface->SetClipper(clipper), DD_OK);
  check("the palette's own reference given back, the surface's left", palette->Release() == 1);
  check("the clipper's own reference given back, the surface's left", clipper->Release() == 1);
  check("the surface released, and with it the palette and clipper", surface->Release() == 0);
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

// The flip chain: what Flip takes as a target, and the chain seen from its back buffer.
void flipChain(IDirectDraw* directDraw, HWND window) {
  expect("SetCooperativeLevel exclusive",
         directDraw->SetCooperativeLevel(window, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN), DD_OK);
  expect("SetDisplayMode 320 x 240 x 8", directDraw->SetDisplayMode(320, 240, 8), DD_OK);
  const struct {
    const char* name;
    DWORD flags;
    DWORD caps;
    DWORD backBuffers;
    HRESULT result;
  } primaries[] = {
      {"A primary asking for DDSCAPS_BACKBUFFER", DDSD_CAPS,
       DDSCAPS_PRIMARYSURFACE | DDSCAPS_BACKBUFFER, 0, DDERR_INVALIDCAPS},
      // Accepted by the real ddraw.dll, as a primary is the front buffer anyway.
      {"A primary asking for DDSCAPS_FRONTBUFFER", DDSD_CAPS,
       DDSCAPS_PRIMARYSURFACE | DDSCAPS_FRONTBUFFER, 0, DD_OK},
      {"A complex primary without DDSCAPS_FLIP", DDSD_CAPS | DDSD_BACKBUFFERCOUNT,
       DDSCAPS_PRIMARYSURFACE | DDSCAPS_COMPLEX, 1, DDERR_INVALIDCAPS},
      {"A flip chain without a back-buffer count", DDSD_CAPS,
       DDSCAPS_PRIMARYSURFACE | DDSCAPS_COMPLEX | DDSCAPS_FLIP, 0, DDERR_INVALIDCAPS},
      {"A flip chain with a count of 0", DDSD_CAPS | DDSD_BACKBUFFERCOUNT,
       DDSCAPS_PRIMARYSURFACE | DDSCAPS_COMPLEX | DDSCAPS_FLIP, 0, DDERR_INVALIDCAPS},
  };
  for (const auto& c : primaries) {
    DDSURFACEDESC desc = description();
    desc.dwFlags = c.flags;
    desc.ddsCaps.dwCaps = c.caps;
    desc.dwBackBufferCount = c.backBuffers;
    IDirectDrawSurface* surface = nullptr;
    const HRESULT result = directDraw->CreateSurface(&desc, &surface, nullptr);
    expect(c.name, result, c.result);
    if (result == DD_OK) surface->Release();
  }
  DDSURFACEDESC desc = description();
  desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
  desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_COMPLEX | DDSCAPS_FLIP;
  desc.dwBackBufferCount = 1;
  IDirectDrawSurface* primary = nullptr;
  expect("The flip chain", directDraw->CreateSurface(&desc, &primary, nullptr), DD_OK);
  if (primary == nullptr) return;
  DDSCAPS backCaps{DDSCAPS_BACKBUFFER};
  IDirectDrawSurface* back = nullptr;
  expect("Its back buffer", primary->GetAttachedSurface(&backCaps, &back), DD_OK);
  IDirectDrawSurface* outside = offscreen(directDraw, 320, 240);
  expect("Flip to a surface outside the chain", primary->Flip(outside, DDFLIP_WAIT),
         DDERR_NOTFLIPPABLE);
  expect("Flip to the front buffer", primary->Flip(primary, DDFLIP_WAIT), DDERR_NOTFLIPPABLE);
  expect("Flip to the back buffer", primary->Flip(back, DDFLIP_WAIT), DD_OK);
  DDSCAPS flipCaps{DDSCAPS_FLIP};
  IDirectDrawSurface* next = nullptr;
  expect("The back buffer's next surface in the chain", back->GetAttachedSurface(&flipCaps, &next),
         DD_OK);
  check("is the front buffer", next == primary);
  if (next != nullptr) next->Release();
  outside->Release();
  back->Release();
  primary->Release();
  expect("Normal and full-screen together",
         directDraw->SetCooperativeLevel(window, DDSCL_NORMAL | DDSCL_FULLSCREEN), DD_OK);
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

// The primary is lost when the display mode changes under it, or exclusive mode moves to
// another window, and answers so until restored in its own mode.
void lostSurfaces(HWND window, HWND otherWindow) {
  IDirectDraw* directDraw = nullptr;
  if (DirectDrawCreate(nullptr, &directDraw, nullptr) != DD_OK) return;
  directDraw->SetCooperativeLevel(window, DDSCL_NORMAL);
  DDSURFACEDESC desc = description();
  desc.dwFlags = DDSD_CAPS;
  desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
  IDirectDrawSurface* primary = nullptr;
  directDraw->CreateSurface(&desc, &primary, nullptr);
  expect("A new primary is not lost", primary->IsLost(), DD_OK);
  // Taking exclusive mode alone leaves the display as it was.
  directDraw->SetCooperativeLevel(window, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN);
  expect("Exclusive mode taken: the normal primary is kept", primary->IsLost(), DD_OK);
  primary->Release();

  directDraw->SetDisplayMode(320, 240, 8);
  desc = description();
  desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
  desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_COMPLEX | DDSCAPS_FLIP;
  desc.dwBackBufferCount = 1;
  if (directDraw->CreateSurface(&desc, &primary, nullptr) == DD_OK) {
    directDraw->SetDisplayMode(640, 480, 8);
    expect("A display-mode change loses the flip chain", primary->IsLost(), DDERR_SURFACELOST);
    expect("Flip of the lost chain", primary->Flip(nullptr, DDFLIP_WAIT), DDERR_SURFACELOST);
    DDSCAPS backCaps{DDSCAPS_BACKBUFFER};
    IDirectDrawSurface* back = nullptr;
    expect("GetAttachedSurface of the lost chain", primary->GetAttachedSurface(&backCaps, &back),
           DDERR_SURFACELOST);
    if (back != nullptr) back->Release();
    expect("Restore of the chain in another mode", primary->Restore(), DDERR_WRONGMODE);
    directDraw->SetDisplayMode(320, 240, 8);
    expect("Restore of the chain in its own mode", primary->Restore(), DD_OK);
    expect("Restored, not lost", primary->IsLost(), DD_OK);
    expect("Flip of the restored chain", primary->Flip(nullptr, DDFLIP_WAIT), DD_OK);
    directDraw->SetCooperativeLevel(otherWindow, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN);
    expect("Exclusive mode on another window loses the chain", primary->IsLost(),
           DDERR_SURFACELOST);
    primary->Release();
  }
  // Back to normal after the 320 x 240 mode: a new primary is the mode's size.
  directDraw->SetDisplayMode(320, 240, 8);
  directDraw->SetCooperativeLevel(window, DDSCL_NORMAL);
  desc = description();
  desc.dwFlags = DDSD_CAPS;
  desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
  if (directDraw->CreateSurface(&desc, &primary, nullptr) == DD_OK) {
    DDSURFACEDESC shape = description();
    primary->GetSurfaceDesc(&shape);
    check("A normal primary after the 320 x 240 mode is 320 x 240",
          shape.dwWidth == 320 && shape.dwHeight == 240,
          "(" + std::to_string(shape.dwWidth) + " x " + std::to_string(shape.dwHeight) + ")");
    primary->Release();
  }
  directDraw->Release();
}

}  // namespace

int main() {
  HWND window = makeWindow();
  IDirectDraw* directDraw = nullptr;
  if (window == nullptr || DirectDrawCreate(nullptr, &directDraw, nullptr) != DD_OK) {
    std::printf("FAILED: no window or no DirectDraw\n");
    return 1;
  }
  expect("SetCooperativeLevel normal", directDraw->SetCooperativeLevel(window, DDSCL_NORMAL),
         DD_OK);
  locks(directDraw);
  blits(directDraw);
  attachments(directDraw, window);
  ownPalette(directDraw);
  keys(directDraw);
  callerMemory(directDraw);
  flipChain(directDraw, window);
  directDraw->Release();
  noCooperativeLevel();
  lostSurfaces(window, makeWindow());
  std::printf("%d cases, %d failed\n", cases, failures);
  return failures == 0 ? 0 : 1;
}
