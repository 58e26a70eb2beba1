// DirectDraw conformance: the flip chain, and lost surfaces.
#include <iterator>
#include <string>

#include "tests/platform/compat/ddraw_conformance.h"

namespace conformance {

namespace {

struct PrimaryCase {
  const char* name;
  DWORD flags;
  DWORD caps;
  DWORD backBuffers;
  HRESULT result;
};

void createPrimaries(IDirectDraw* directDraw, const PrimaryCase* cases, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    const PrimaryCase& c = cases[i];
    DDSURFACEDESC desc = description();
    desc.dwFlags = c.flags;
    desc.ddsCaps.dwCaps = c.caps;
    desc.dwBackBufferCount = c.backBuffers;
    IDirectDrawSurface* surface = nullptr;
    const HRESULT result = directDraw->CreateSurface(&desc, &surface, nullptr);
    expect(c.name, result, c.result);
    if (result == DD_OK) surface->Release();
  }
}

constexpr DWORD chainCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_COMPLEX | DDSCAPS_FLIP;

}  // namespace

// In the normal cooperative level a flip chain's caps are checked before the missing exclusive
// mode is.
void normalFlipChains(IDirectDraw* directDraw) {
  const PrimaryCase primaries[] = {
      {"Normal: a flip chain without a back-buffer count", DDSD_CAPS, chainCaps, 0,
       DDERR_INVALIDCAPS},
      {"Normal: a flip chain with a count of 0", DDSD_CAPS | DDSD_BACKBUFFERCOUNT, chainCaps, 0,
       DDERR_INVALIDCAPS},
      {"Normal: a flip chain without DDSCAPS_COMPLEX", DDSD_CAPS | DDSD_BACKBUFFERCOUNT,
       DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP, 1, DDERR_INVALIDCAPS},
      {"Normal: a flip chain asking for DDSCAPS_FRONTBUFFER", DDSD_CAPS | DDSD_BACKBUFFERCOUNT,
       chainCaps | DDSCAPS_FRONTBUFFER, 1, DDERR_INVALIDCAPS},
      {"Normal: a flip chain asking for DDSCAPS_BACKBUFFER", DDSD_CAPS | DDSD_BACKBUFFERCOUNT,
       chainCaps | DDSCAPS_BACKBUFFER, 1, DDERR_INVALIDCAPS},
      {"Normal: a flip chain with one back buffer", DDSD_CAPS | DDSD_BACKBUFFERCOUNT, chainCaps, 1,
       DDERR_NOEXCLUSIVEMODE},
  };
  createPrimaries(directDraw, primaries, std::size(primaries));
}

// The flip chain: what Flip takes as a target, and the chain seen from its back buffer.
void flipChain(IDirectDraw* directDraw, HWND window) {
  expect("SetCooperativeLevel exclusive",
         directDraw->SetCooperativeLevel(window, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN), DD_OK);
  expect("SetDisplayMode 320 x 240 x 8", directDraw->SetDisplayMode(320, 240, 8), DD_OK);
  const PrimaryCase primaries[] = {
      {"A primary asking for DDSCAPS_BACKBUFFER", DDSD_CAPS,
       DDSCAPS_PRIMARYSURFACE | DDSCAPS_BACKBUFFER, 0, DDERR_INVALIDCAPS},
      // Accepted by the real ddraw.dll, as a primary is the front buffer anyway.
      {"A primary asking for DDSCAPS_FRONTBUFFER", DDSD_CAPS,
       DDSCAPS_PRIMARYSURFACE | DDSCAPS_FRONTBUFFER, 0, DD_OK},
      {"A complex primary without DDSCAPS_FLIP", DDSD_CAPS | DDSD_BACKBUFFERCOUNT,
       DDSCAPS_PRIMARYSURFACE | DDSCAPS_COMPLEX, 1, DDERR_INVALIDCAPS},
      {"A flip chain without a back-buffer count", DDSD_CAPS, chainCaps, 0, DDERR_INVALIDCAPS},
      {"A flip chain with a count of 0", DDSD_CAPS | DDSD_BACKBUFFERCOUNT, chainCaps, 0,
       DDERR_INVALIDCAPS},
      // The chain makes its front buffer itself.
      {"A flip chain asking for DDSCAPS_FRONTBUFFER", DDSD_CAPS | DDSD_BACKBUFFERCOUNT,
       chainCaps | DDSCAPS_FRONTBUFFER, 1, DDERR_INVALIDCAPS},
      {"A flip chain asking for DDSCAPS_FRONTBUFFER without a count", DDSD_CAPS,
       chainCaps | DDSCAPS_FRONTBUFFER, 0, DDERR_INVALIDCAPS},
      {"A flip chain asking for DDSCAPS_BACKBUFFER", DDSD_CAPS | DDSD_BACKBUFFERCOUNT,
       chainCaps | DDSCAPS_BACKBUFFER, 1, DDERR_INVALIDCAPS},
  };
  createPrimaries(directDraw, primaries, std::size(primaries));
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

// The primary is lost when exclusive mode is taken for a window it was not taken for before,
// when the display mode changes under it, or when exclusive mode moves to another window, and
// answers so until restored in its own mode. Surfaces in video memory are lost with it; those
// in system memory never are. Its windows are new: one that was exclusive before may keep
// what another DirectDraw object left on it.
void lostSurfaces() {
  HWND window = makeWindow();
  HWND otherWindow = makeWindow();
  IDirectDraw* directDraw = nullptr;
  if (DirectDrawCreate(nullptr, &directDraw, nullptr) != DD_OK) return;
  directDraw->SetCooperativeLevel(window, DDSCL_NORMAL);
  DDSURFACEDESC desc = description();
  desc.dwFlags = DDSD_CAPS;
  desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
  IDirectDrawSurface* primary = nullptr;
  directDraw->CreateSurface(&desc, &primary, nullptr);
  IDirectDrawSurface* system = offscreen(directDraw, 16, 16);
  desc = description();
  desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
  desc.dwWidth = 16;
  desc.dwHeight = 16;
  desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_VIDEOMEMORY;
  IDirectDrawSurface* video = nullptr;
  directDraw->CreateSurface(&desc, &video, nullptr);
  if (primary == nullptr || system == nullptr || video == nullptr) {
    check("A primary, a system-memory and a video-memory surface", false);
    return;
  }
  expect("A new primary is not lost", primary->IsLost(), DD_OK);
  directDraw->SetCooperativeLevel(window, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN);
  expect("Exclusive mode taken: the normal primary is lost", primary->IsLost(), DDERR_SURFACELOST);
  expect("Exclusive mode taken: a system-memory surface is not", system->IsLost(), DD_OK);
  expect("Exclusive mode taken: a video-memory surface is", video->IsLost(), DDERR_SURFACELOST);
  expect("The normal primary restored", primary->Restore(), DD_OK);
  expect("A video-memory surface restored", video->Restore(), DD_OK);
  directDraw->SetCooperativeLevel(window, DDSCL_NORMAL);
  directDraw->SetCooperativeLevel(window, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN);
  expect("Exclusive mode taken again for the same window: the primary is kept", primary->IsLost(),
         DD_OK);
  expect("and so is a video-memory surface", video->IsLost(), DD_OK);
  primary->Release();

  directDraw->SetDisplayMode(320, 240, 8);
  expect("A display-mode change: a video-memory surface is lost", video->IsLost(),
         DDERR_SURFACELOST);
  expect("A display-mode change: a system-memory surface is not", system->IsLost(), DD_OK);
  video->Release();
  system->Release();
  desc = description();
  desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
  desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_COMPLEX | DDSCAPS_FLIP;
  desc.dwBackBufferCount = 1;
  if (directDraw->CreateSurface(&desc, &primary, nullptr) == DD_OK) {
    PALETTEENTRY colours[256] = {};
    IDirectDrawPalette* palette = nullptr;
    directDraw->CreatePalette(DDPCAPS_8BIT, colours, &palette, nullptr);
    directDraw->SetDisplayMode(640, 480, 8);
    expect("A display-mode change loses the flip chain", primary->IsLost(), DDERR_SURFACELOST);
    expect("Flip of the lost chain", primary->Flip(nullptr, DDFLIP_WAIT), DDERR_SURFACELOST);
    expect("SetPalette on the lost chain", primary->SetPalette(palette), DDERR_SURFACELOST);
    DDSCAPS backCaps{DDSCAPS_BACKBUFFER};
    IDirectDrawSurface* back = nullptr;
    expect("GetAttachedSurface of the lost chain", primary->GetAttachedSurface(&backCaps, &back),
           DDERR_SURFACELOST);
    if (back != nullptr) back->Release();
    expect("Restore of the chain in another mode", primary->Restore(), DDERR_WRONGMODE);
    expect("SetDisplayMode 320 x 200 x 8", directDraw->SetDisplayMode(320, 200, 8), DD_OK);
    expect("Restore of the chain in a mode of another height only", primary->Restore(),
           DDERR_WRONGMODE);
    directDraw->SetDisplayMode(320, 240, 8);
    expect("Restore of the chain in its own mode", primary->Restore(), DD_OK);
    expect("Restored, not lost", primary->IsLost(), DD_OK);
    expect("SetPalette on the restored chain", primary->SetPalette(palette), DD_OK);
    expect("Flip of the restored chain", primary->Flip(nullptr, DDFLIP_WAIT), DD_OK);
    directDraw->SetCooperativeLevel(otherWindow, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN);
    expect("Exclusive mode on another window loses the chain", primary->IsLost(),
           DDERR_SURFACELOST);
    palette->Release();
    primary->Release();
  }
  // A chain of 640 x 480 and a mode of another width only (Wine offers 800 x 480 on a desktop
  // of that size).
  directDraw->SetDisplayMode(640, 480, 8);
  if (directDraw->CreateSurface(&desc, &primary, nullptr) == DD_OK) {
    expect("SetDisplayMode 800 x 480 x 8", directDraw->SetDisplayMode(800, 480, 8), DD_OK);
    expect("Restore of a 640 x 480 chain in a mode of another width only", primary->Restore(),
           DDERR_WRONGMODE);
    directDraw->SetDisplayMode(640, 480, 8);
    expect("Restore of the 640 x 480 chain in its own mode", primary->Restore(), DD_OK);
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
  DestroyWindow(otherWindow);
  DestroyWindow(window);
}

// The display has one exclusive owner: what counts is the window exclusive mode was last taken
// for by any DirectDraw object of the program, not by this one.
void exclusiveWindowOfTheDisplay() {
  HWND window = makeWindow();
  HWND otherWindow = makeWindow();
  IDirectDraw* directDraw = nullptr;
  IDirectDraw* other = nullptr;
  if (DirectDrawCreate(nullptr, &directDraw, nullptr) != DD_OK ||
      DirectDrawCreate(nullptr, &other, nullptr) != DD_OK) {
    check("Two DirectDraw objects", false);
    return;
  }
  DDSURFACEDESC desc = description();
  desc.dwFlags = DDSD_CAPS;
  desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
  const DWORD exclusive = DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN;

  // Exclusive mode taken on the window, given back, then taken by another object on another
  // window: a primary made in the normal level meanwhile is lost when exclusive mode comes back
  // to the window, a system-memory surface is not.
  directDraw->SetCooperativeLevel(window, exclusive);
  directDraw->SetCooperativeLevel(window, DDSCL_NORMAL);
  other->SetCooperativeLevel(otherWindow, exclusive);
  other->SetCooperativeLevel(otherWindow, DDSCL_NORMAL);
  IDirectDrawSurface* primary = nullptr;
  directDraw->CreateSurface(&desc, &primary, nullptr);
  IDirectDrawSurface* system = offscreen(directDraw, 16, 16);
  if (primary == nullptr || system == nullptr) {
    check("A normal primary and a system-memory surface", false);
    return;
  }
  expect("A primary made in the normal level is not lost", primary->IsLost(), DD_OK);
  directDraw->SetCooperativeLevel(window, exclusive);
  expect("Exclusive mode back on the window after another object's: the primary is lost",
         primary->IsLost(), DDERR_SURFACELOST);
  expect("and a system-memory surface is not", system->IsLost(), DD_OK);
  expect("The primary restored", primary->Restore(), DD_OK);
  expect("Restored, not lost", primary->IsLost(), DD_OK);
  system->Release();
  primary->Release();
  directDraw->Release();

  // The other way round: the window the display's exclusive mode was last taken for, by an
  // object since released, keeps a new object's primary.
  other->SetCooperativeLevel(otherWindow, exclusive);
  other->Release();
  if (DirectDrawCreate(nullptr, &directDraw, nullptr) != DD_OK) return;
  directDraw->SetCooperativeLevel(otherWindow, DDSCL_NORMAL);
  primary = nullptr;
  directDraw->CreateSurface(&desc, &primary, nullptr);
  if (primary != nullptr) {
    directDraw->SetCooperativeLevel(otherWindow, exclusive);
    expect("Exclusive mode on the window it was last taken for by a released object: kept",
           primary->IsLost(), DD_OK);
    primary->Release();
  }
  directDraw->Release();
  DestroyWindow(otherWindow);
  DestroyWindow(window);

  // The window exclusive mode was last taken for, destroyed: a window made after it is another
  // window, whatever handle it gets, and exclusive mode taken for it loses the primary. Several
  // rounds, as a new window may well get the handle of the one just destroyed.
  if (DirectDrawCreate(nullptr, &directDraw, nullptr) != DD_OK) return;
  int kept = 0;
  for (int round = 0; round < 4; ++round) {
    HWND gone = makeWindow();
    directDraw->SetCooperativeLevel(gone, exclusive);
    directDraw->SetCooperativeLevel(gone, DDSCL_NORMAL);
    DestroyWindow(gone);
    HWND fresh = makeWindow();
    directDraw->SetCooperativeLevel(fresh, DDSCL_NORMAL);
    primary = nullptr;
    directDraw->CreateSurface(&desc, &primary, nullptr);
    if (primary == nullptr) break;
    directDraw->SetCooperativeLevel(fresh, exclusive);
    if (primary->IsLost() == DD_OK) ++kept;
    directDraw->SetCooperativeLevel(fresh, DDSCL_NORMAL);
    primary->Release();
    DestroyWindow(fresh);
  }
  check("Exclusive mode on a window made after the last exclusive one was destroyed: lost",
        kept == 0, "kept in " + std::to_string(kept) + " of 4 rounds");
  directDraw->Release();
}

}  // namespace conformance
