// Drawing on slots through GDI: bitmap files, text, font text and circles, and the palette
// index probe. None of these looks at clipRect; the system clips to the surface.
#include <algorithm>
#include <cstring>

#include "display/display_engine.h"
#include "display/palette_tables.h"
#include "host/fatal_exit.h"
#include "host/file_not_found.h"

namespace {

const char fontFailed[] = "font";

// A position beyond the range of int is off every surface; it stays off at the range's end.
int saturated(int64_t position) {
  return static_cast<int>(std::clamp<int64_t>(position, INT32_MIN, INT32_MAX));
}

}  // namespace

void DisplayEngine::loadBitmapToSurface(const char* fileName, int32_t width, int32_t height,
                                        int32_t destX, int32_t destY, int32_t srcX, int32_t srcY,
                                        int32_t slot) {
  if (!holdsSurface(slot)) return;
  HBITMAP bitmap =
      static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), fileName, IMAGE_BITMAP, 0, 0,
                                      LR_CREATEDIBSECTION | LR_LOADFROMFILE));
  if (bitmap == nullptr) exitFileNotFound(fileName);
  HDC memory = CreateCompatibleDC(nullptr);
  HGDIOBJ kept = SelectObject(memory, bitmap);
  HDC dc = nullptr;
  surfaces[slot]->GetDC(&dc);
  BitBlt(dc, destX, destY, width, height, memory, srcX, srcY, SRCCOPY);
  surfaces[slot]->ReleaseDC(dc);
  SelectObject(memory, kept);
  DeleteDC(memory);
  DeleteObject(bitmap);
}

void DisplayEngine::drawText(int32_t slot, int32_t x, int32_t y, const char* text) {
  if (!holdsSurface(slot) || text == nullptr) return;
  HDC dc = nullptr;
  surfaces[slot]->GetDC(&dc);
  TextOutA(dc, x, y, text, static_cast<int>(std::strlen(text)));
  surfaces[slot]->ReleaseDC(dc);
}

void DisplayEngine::drawFontText(int32_t x, int32_t y, int32_t centreX, int32_t centreY,
                                 const char* text, int32_t height, int32_t width, int32_t weight,
                                 int32_t shadow, COLORREF colour, int32_t italic,
                                 const char* faceName, int32_t charSet, int32_t slot,
                                 int32_t escapement) {
  if (!holdsSurface(slot) || text == nullptr) return;
  HFONT font = CreateFontA(height, width, escapement, 0, weight, static_cast<DWORD>(italic), 0, 0,
                           static_cast<DWORD>(charSet), 0, 0, 0, 0, faceName);
  if (font == nullptr) fatalExit(fontFailed);
  HDC dc = nullptr;
  surfaces[slot]->GetDC(&dc);
  SetBkMode(dc, TRANSPARENT);
  HGDIOBJ keptFont = SelectObject(dc, font);
  const int length = static_cast<int>(std::strlen(text));
  SIZE extent{};
  GetTextExtentPoint32A(dc, text, length, &extent);
  textExtent = extent;
  // Centring rounds the half down, each axis on its own. Positions are summed in 64 bits.
  int64_t left = x == -1 ? int64_t{centreX} - extent.cx / 2 : x;
  int64_t top = y == -1 ? int64_t{centreY} - extent.cy / 2 : y;
  // Windowed, slot 0 is the whole desktop: the window's origin puts the text inside it.
  if (fullscreen == 0 && slot == 0) {
    left += windowOrigin.x;
    top += windowOrigin.y;
  }
  if (shadow != 0) {
    const COLORREF keptColour = SetTextColor(dc, RGB(1, 1, 1));
    TextOutA(dc, saturated(left + shadow), saturated(top + shadow), text, length);
    SetTextColor(dc, keptColour);
  }
  const COLORREF keptColour = SetTextColor(dc, colour);
  TextOutA(dc, saturated(left), saturated(top), text, length);
  SetTextColor(dc, keptColour);
  SelectObject(dc, keptFont);
  surfaces[slot]->ReleaseDC(dc);
  DeleteObject(font);
}

void DisplayEngine::drawFilledCircle(int32_t slot, int32_t centreX, int32_t centreY, int32_t radius,
                                     int32_t index) {
  if (!holdsSurface(slot)) return;
  // The base colour, not the faded one: GDI matches it into whatever the palette shows.
  const PALETTEENTRY& entry = basePalette[index & 0xFF];
  const COLORREF colour = RGB(entry.peRed, entry.peGreen, entry.peBlue);
  radius = std::max(radius, 0);
  HDC dc = nullptr;
  surfaces[slot]->GetDC(&dc);
  HBRUSH brush = CreateSolidBrush(colour);
  HPEN pen = CreatePen(PS_SOLID, 1, colour);
  HGDIOBJ keptBrush = SelectObject(dc, brush);
  HGDIOBJ keptPen = SelectObject(dc, pen);
  // Bounds past the range of int are cut to it: only circles far off every surface change.
  Ellipse(dc, saturated(int64_t{centreX} - radius), saturated(int64_t{centreY} - radius),
          saturated(int64_t{centreX} + radius), saturated(int64_t{centreY} + radius));
  SelectObject(dc, keptBrush);
  SelectObject(dc, keptPen);
  DeleteObject(brush);
  DeleteObject(pen);
  surfaces[slot]->ReleaseDC(dc);
}

uint8_t DisplayEngine::probePaletteIndex(COLORREF colour) {
  if (!holdsSurface(1)) return 0;  // nothing to draw the probe on before set-up
  // The lock and the device context are never held together.
  lockSurface(1);
  const uint8_t kept = surfaceBits[1] != nullptr ? surfaceBits[1][0] : 0;
  unlockSurface(1);
  HDC dc = nullptr;
  surfaces[1]->GetDC(&dc);
  SetPixel(dc, 0, 0, colour);
  surfaces[1]->ReleaseDC(dc);
  lockSurface(1);
  uint8_t index = 0;
  if (surfaceBits[1] != nullptr) {
    index = surfaceBits[1][0];
    surfaceBits[1][0] = kept;
  }
  unlockSurface(1);
  return index;
}
