// DirectDraw conformance: Lock, and GetDC on a locked surface.
#include <string>

#include "tests/platform/compat/ddraw_conformance.h"

namespace conformance {

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

}  // namespace conformance
