// Colour fills and rectangle copies between slots through DirectDraw, with or without
// clipping against clipRect. DirectDraw refuses rectangles that leave a surface and draws
// nothing for them; only the clipped operations keep to clipRect themselves.
#include <algorithm>

#include "display/display_engine.h"

namespace {

RECT cornerAndSize(int64_t x, int64_t y, int64_t w, int64_t h) {
  // In 64 bits, then wrapped to DirectDraw's LONGs: extreme arguments make a rectangle that
  // DirectDraw refuses, never undefined arithmetic.
  return {static_cast<LONG>(x), static_cast<LONG>(y), static_cast<LONG>(x + w),
          static_cast<LONG>(y + h)};
}

HRESULT colourFill(LPDIRECTDRAWSURFACE surface, RECT* area, DDBLTFX& effects) {
  return surface->Blt(area, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &effects);
}

}  // namespace

HRESULT DisplayEngine::fillRect(int32_t slot, int32_t x, int32_t y, int32_t w, int32_t h,
                                int32_t colour) {
  if (!holdsSurface(slot)) return DDERR_INVALIDPARAMS;
  RECT area = cornerAndSize(x, y, w, h);
  fillFx.dwFillColor = static_cast<DWORD>(colour);
  return colourFill(surfaces[slot], &area, fillFx);
}

HRESULT DisplayEngine::fillRect8(int32_t slot, int32_t x, int32_t y, int32_t w, int32_t h,
                                 int32_t colour) {
  if (!holdsSurface(slot)) return DDERR_INVALIDPARAMS;
  RECT area = cornerAndSize(x, y, w, h);
  fillFx.dwFillColor = static_cast<DWORD>(colour) & 0xFF;
  return colourFill(surfaces[slot], &area, fillFx);
}

HRESULT DisplayEngine::fillSurface(int32_t slot, int32_t colour) {
  if (!holdsSurface(slot)) return DDERR_INVALIDPARAMS;
  fillFx.dwFillColor = static_cast<DWORD>(colour);
  return colourFill(surfaces[slot], nullptr, fillFx);
}

HRESULT DisplayEngine::clearRect(int32_t slot, int32_t x, int32_t y, int32_t w, int32_t h) {
  if (!holdsSurface(slot)) return DDERR_INVALIDPARAMS;
  RECT area = cornerAndSize(x, y, w, h);
  return colourFill(surfaces[slot], &area, clearFx);
}

HRESULT DisplayEngine::drawRectOutline(int32_t slot, int32_t x, int32_t y, int32_t w, int32_t h,
                                       int32_t colour) {
  if (!holdsSurface(slot)) return DDERR_INVALIDPARAMS;
  DDBLTFX effects{};
  effects.dwSize = sizeof effects;
  effects.dwFillColor = static_cast<DWORD>(colour);
  int32_t unusedX = 0, unusedY = 0;
  if (clipToRect(x, y, unusedX, unusedY, w, h) || w < 1 || h < 1) return 1;
  RECT top = cornerAndSize(x, y, w, 1);
  RECT bottom = cornerAndSize(x, int64_t{y} + h - 1, w, 1);
  RECT left = cornerAndSize(x, y, 1, h);
  RECT right = cornerAndSize(int64_t{x} + w - 1, y, 1, h);
  colourFill(surfaces[slot], &top, effects);
  colourFill(surfaces[slot], &bottom, effects);
  colourFill(surfaces[slot], &left, effects);
  return colourFill(surfaces[slot], &right, effects);
}

HRESULT DisplayEngine::blitFast(int32_t x, int32_t y, RECT* sourceRect, int32_t destSlot,
                                int32_t sourceSlot, DWORD flags) {
  if (!holdsSurface(destSlot) || !holdsSurface(sourceSlot)) return DDERR_INVALIDPARAMS;
  return surfaces[destSlot]->BltFast(static_cast<DWORD>(x), static_cast<DWORD>(y),
                                     surfaces[sourceSlot], sourceRect, flags);
}

HRESULT DisplayEngine::blitRect(int32_t x, int32_t y, int32_t srcX, int32_t srcY, int32_t w,
                                int32_t h, int32_t destSlot, int32_t sourceSlot, DWORD flags) {
  RECT source = cornerAndSize(srcX, srcY, w, h);
  return blitFast(x, y, &source, destSlot, sourceSlot, flags);
}

HRESULT DisplayEngine::blitClipped(int32_t x, int32_t y, int32_t srcX, int32_t srcY, int32_t w,
                                   int32_t h, int32_t destSlot, int32_t sourceSlot, DWORD flags) {
  if (!holdsSurface(destSlot) || !holdsSurface(sourceSlot)) return DDERR_INVALIDPARAMS;
  // An empty or inverted rectangle that clipping let through has nothing to draw either.
  if (clipToRect(x, y, srcX, srcY, w, h) || w < 1 || h < 1) return 1;
  return blitRect(x, y, srcX, srcY, w, h, destSlot, sourceSlot, flags);
}

void DisplayEngine::setClipRect(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  clipRect = {left, top, right, bottom};
}

bool DisplayEngine::clipToRect(int32_t& x, int32_t& y, int32_t& srcX, int32_t& srcY, int32_t& w,
                               int32_t& h) {
  // Differences in 64 bits: coordinates far outside must not overflow on the way in. The left
  // and top steps come first, whatever the size; a size below 1 that they do not make is left
  // to the callers.
  const int64_t left = clipRect.left, top = clipRect.top;
  const int64_t right = clipRect.right, bottom = clipRect.bottom;
  if (x < left) {
    const int64_t d = left - x;
    srcX = static_cast<int32_t>(srcX + d);
    w = static_cast<int32_t>(std::max<int64_t>(w - d, INT32_MIN));
    x = static_cast<int32_t>(left);
    if (w < 1) return true;
  }
  if (y < top) {
    const int64_t d = top - y;
    srcY = static_cast<int32_t>(srcY + d);
    h = static_cast<int32_t>(std::max<int64_t>(h - d, INT32_MIN));
    y = static_cast<int32_t>(top);
    if (h < 1) return true;
  }
  if (x >= right || y >= bottom) return true;
  if (x + int64_t{w} > right) w = static_cast<int32_t>(right - x);
  if (y + int64_t{h} > bottom) h = static_cast<int32_t>(bottom - y);
  return false;
}
