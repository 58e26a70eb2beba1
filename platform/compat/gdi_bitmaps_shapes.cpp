// Bitmaps, copies and shapes: LoadImageA of BMP files, BitBlt from a memory context holding a
// bitmap, Ellipse, SetPixel and GetPixel. Every colour reaches a surface as the index of its
// nearest palette entry; everything is clipped to the canvas.
#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "platform/compat/bitmap_file.h"
#include "platform/compat/gdi_objects.h"

namespace compat {
namespace {

// A decoded bitmap file as a GDI bitmap object.
GdiBitmap* loadBmpFile(const char* name) {
  std::optional<DecodedBitmap> decoded = loadBitmapFile(name);
  if (!decoded) return nullptr;
  auto* bitmap = makeGdiObject<GdiBitmap>();
  bitmap->width = decoded->width;
  bitmap->height = decoded->height;
  bitmap->pixels = std::move(decoded->colours);
  return bitmap;
}

COLORREF colourOf(const Canvas& canvas, std::uint8_t index) {
  const PaletteColour& c = canvas.palette[index];
  return RGB(c.red, c.green, c.blue);
}

}  // namespace
}  // namespace compat

using compat::liveDeviceContext;

HANDLE WINAPI LoadImageA(HINSTANCE /*instance*/, LPCSTR name, UINT type, int width, int height,
                         UINT load) {
  // Bitmap files at their own size: what the engine asks for, and all this loader knows.
  if (name == nullptr || type != IMAGE_BITMAP || !(load & LR_LOADFROMFILE) || width != 0 ||
      height != 0)
    return nullptr;
  return static_cast<HGDIOBJ>(compat::loadBmpFile(name));
}

BOOL WINAPI BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX,
                   int sourceY, DWORD rop) {
  HDC__* to = liveDeviceContext(dest);
  HDC__* from = liveDeviceContext(source);
  if (to == nullptr || from == nullptr || rop != SRCCOPY || width < 0 || height < 0) return FALSE;
  auto* bitmap = dynamic_cast<compat::GdiBitmap*>(static_cast<HGDIOBJ__*>(from->bitmap));
  std::optional<compat::Canvas> canvas = compat::canvasOf(*to);
  if (bitmap == nullptr || !canvas) return FALSE;
  // Clip, in 64 bits, to the bitmap and to the canvas, moving both corners together.
  int64_t left = 0, top = 0, right = width, bottom = height;  // relative to (x, y)
  left = std::max({left, -int64_t{sourceX}, -int64_t{x}});
  top = std::max({top, -int64_t{sourceY}, -int64_t{y}});
  right = std::min({right, int64_t{bitmap->width} - sourceX, int64_t{canvas->width} - x});
  bottom = std::min({bottom, int64_t{bitmap->height} - sourceY, int64_t{canvas->height} - y});
  compat::ColourMatcher matcher(canvas->palette);
  for (int64_t j = top; j < bottom; ++j)
    for (int64_t i = left; i < right; ++i)
      canvas->at(static_cast<int>(x + i), static_cast<int>(y + j)) = matcher.indexFor(
          bitmap->at(static_cast<int>(sourceX + i), static_cast<int>(sourceY + j)));
  return TRUE;
}

BOOL WINAPI Ellipse(HDC dc, int left, int top, int right, int bottom) {
  HDC__* context = liveDeviceContext(dc);
  if (context == nullptr) return FALSE;
  std::optional<compat::Canvas> canvas = compat::canvasOf(*context);
  if (!canvas) return FALSE;
  auto* pen = dynamic_cast<compat::GdiPen*>(static_cast<HGDIOBJ__*>(context->pen));
  auto* brush = dynamic_cast<compat::GdiBrush*>(static_cast<HGDIOBJ__*>(context->brush));
  // The ellipse inscribed in the box, right and bottom edges excluded.
  const double cx = (static_cast<double>(left) + right) / 2,
               cy = (static_cast<double>(top) + bottom) / 2;
  const double rx = (static_cast<double>(right) - left) / 2,
               ry = (static_cast<double>(bottom) - top) / 2;
  if (rx <= 0 || ry <= 0) return TRUE;  // an empty box draws nothing
  auto inside = [&](int px, int py) {
    const double dx = (px + 0.5 - cx) / rx, dy = (py + 0.5 - cy) / ry;
    return dx * dx + dy * dy <= 1.0;
  };
  compat::ColourMatcher matcher(canvas->palette);
  const std::uint8_t fill = brush && !brush->hollow ? matcher.indexFor(brush->colour) : 0;
  const std::uint8_t outline = pen && !pen->hollow ? matcher.indexFor(pen->colour) : 0;
  const int x0 = std::max(left, 0), x1 = std::min(right, canvas->width);
  const int y0 = std::max(top, 0), y1 = std::min(bottom, canvas->height);
  for (int py = y0; py < y1; ++py)
    for (int px = x0; px < x1; ++px) {
      if (!inside(px, py)) continue;
      // A pixel of the ellipse with a neighbour outside it is on the outline.
      const bool edge =
          !inside(px - 1, py) || !inside(px + 1, py) || !inside(px, py - 1) || !inside(px, py + 1);
      if (edge && pen && !pen->hollow)
        canvas->at(px, py) = outline;
      else if (brush && !brush->hollow)
        canvas->at(px, py) = fill;
    }
  return TRUE;
}

COLORREF WINAPI SetPixel(HDC dc, int x, int y, COLORREF colour) {
  HDC__* context = liveDeviceContext(dc);
  if (context == nullptr) return CLR_INVALID;
  std::optional<compat::Canvas> canvas = compat::canvasOf(*context);
  if (!canvas || !canvas->contains(x, y)) return CLR_INVALID;
  compat::ColourMatcher matcher(canvas->palette);
  const std::uint8_t index = matcher.indexFor(colour);
  canvas->at(x, y) = index;
  return compat::colourOf(*canvas, index);
}

COLORREF WINAPI GetPixel(HDC dc, int x, int y) {
  HDC__* context = liveDeviceContext(dc);
  if (context == nullptr) return CLR_INVALID;
  std::optional<compat::Canvas> canvas = compat::canvasOf(*context);
  if (!canvas || !canvas->contains(x, y)) return CLR_INVALID;
  return compat::colourOf(*canvas, canvas->at(x, y));
}
