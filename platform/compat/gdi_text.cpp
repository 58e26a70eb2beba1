// Fonts and text: CreateFontA, TextOutA and GetTextExtentPoint32A. Text is code page 932,
// converted before glyph lookup; it is drawn from the top-left of its cell, turned by the
// font's escapement about that corner, over an opaque background box unless the context's
// background mode is transparent.
#include <algorithm>
#include <cmath>
#include <string_view>

#include "platform/compat/gdi_fonts.h"
#include "platform/compat/gdi_objects.h"
#include "platform/compat/text_encoding.h"
#include "platform/compat/text_layout.h"

namespace compat {
namespace {

FontFace* faceOf(const HDC__& dc) {
  auto* font = dynamic_cast<GdiFont*>(static_cast<HGDIOBJ__*>(dc.font));
  return font != nullptr && font->face ? font->face.get() : nullptr;
}

std::u32string charactersOf(LPCSTR text, int length) {
  if (text == nullptr || length <= 0) return {};
  return cp932ToUtf32(std::string_view(text, static_cast<size_t>(length)));
}

// The text's extent before turning: the advances along the baseline, and the cell height. A
// line too long for a LONG reports the largest one instead of wrapping negative.
SIZE extentOf(FontFace& face, const std::u32string& characters) {
  const double width = std::min(lineAdvance(face, characters), double{INT32_MAX});
  return {static_cast<LONG>(std::lround(width)), face.cellHeight()};
}

// Fills the text's box, turned with the text about (x, y), with the background colour.
void fillBackground(Canvas& canvas, FontFace& face, int x, int y, SIZE extent,
                    std::uint8_t colour) {
  const double c = face.directionX(), s = face.directionY();
  if (s == 0 && c == 1) {  // unturned, as the per-frame FPS line is: a plain rectangle
    const int bottom = static_cast<int>(std::min<int64_t>(int64_t{y} + extent.cy, canvas.height));
    const int right = static_cast<int>(std::min<int64_t>(int64_t{x} + extent.cx, canvas.width));
    for (int py = std::max(y, 0); py < bottom; ++py)
      for (int px = std::max(x, 0); px < right; ++px) canvas.at(px, py) = colour;
    return;
  }
  // The box's corners on the canvas, for the area to scan.
  const double cornersX[4] = {0, extent.cx * c, extent.cx * c + extent.cy * s, extent.cy * s};
  const double cornersY[4] = {0, -extent.cx * s, -extent.cx * s + extent.cy * c, extent.cy * c};
  // In 64 bits and cut to the canvas: a box far off it must not overflow on the way.
  const auto onCanvas = [](int origin, double offset, int size) {
    return static_cast<int>(std::clamp<int64_t>(origin + static_cast<int64_t>(offset), 0, size));
  };
  const int left = onCanvas(x, std::floor(*std::min_element(cornersX, cornersX + 4)), canvas.width);
  const int right = onCanvas(x, std::ceil(*std::max_element(cornersX, cornersX + 4)), canvas.width);
  const int top = onCanvas(y, std::floor(*std::min_element(cornersY, cornersY + 4)), canvas.height);
  const int bottom =
      onCanvas(y, std::ceil(*std::max_element(cornersY, cornersY + 4)), canvas.height);
  for (int py = top; py < bottom; ++py)
    for (int px = left; px < right; ++px) {
      // The pixel's centre in the text's own axes.
      const double dx = px + 0.5 - x, dy = py + 0.5 - y;
      const double along = dx * c - dy * s, down = dx * s + dy * c;
      if (along >= 0 && along < extent.cx && down >= 0 && down < extent.cy)
        canvas.at(px, py) = colour;
    }
}

// The pen position in 64 bits: text may run far past the canvas on either side.
void drawGlyph(Canvas& canvas, const Glyph& glyph, int64_t penX, int64_t penY,
               std::uint8_t colour) {
  for (int gy = 0; gy < glyph.rows; ++gy) {
    const int64_t y = penY + glyph.top + gy;
    if (y < 0 || y >= canvas.height) continue;
    for (int gx = 0; gx < glyph.width; ++gx) {
      const int64_t x = penX + glyph.left + gx;
      if (x >= 0 && x < canvas.width && glyph.ink[static_cast<size_t>(gy) * glyph.width + gx])
        canvas.at(static_cast<int>(x), static_cast<int>(y)) = colour;
    }
  }
}

}  // namespace
}  // namespace compat

HFONT WINAPI CreateFontA(int height, int width, int escapement, int /*orientation*/, int weight,
                         DWORD italic, DWORD /*underline*/, DWORD /*strikeOut*/, DWORD charSet,
                         DWORD /*outputPrecision*/, DWORD /*clipPrecision*/, DWORD /*quality*/,
                         DWORD /*pitchAndFamily*/, LPCSTR faceName) {
  const compat::FontRequest request{height,
                                    width,
                                    escapement % 3600,
                                    weight == 0 ? 400 : weight,
                                    italic != 0,
                                    charSet,
                                    compat::cp932ToUtf8(faceName ? faceName : "")};
  std::unique_ptr<compat::FontFace> face = compat::FontFace::open(request);
  if (!face) return nullptr;
  auto* font = compat::makeGdiObject<compat::GdiFont>();
  font->face = std::move(face);
  return font;
}

BOOL WINAPI GetTextExtentPoint32A(HDC dc, LPCSTR text, int length, SIZE* size) {
  HDC__* context = compat::liveDeviceContext(dc);
  compat::FontFace* face = context ? compat::faceOf(*context) : nullptr;
  if (face == nullptr || size == nullptr || length < 0 || (text == nullptr && length > 0))
    return FALSE;
  *size = compat::extentOf(*face, compat::charactersOf(text, length));
  return TRUE;
}

BOOL WINAPI TextOutA(HDC dc, int x, int y, LPCSTR text, int length) {
  HDC__* context = compat::liveDeviceContext(dc);
  if (context == nullptr || length < 0 || (text == nullptr && length > 0)) return FALSE;
  compat::FontFace* face = compat::faceOf(*context);
  std::optional<compat::Canvas> canvas = compat::canvasOf(*context);
  if (face == nullptr || !canvas) return FALSE;
  const std::u32string characters = compat::charactersOf(text, length);
  compat::ColourMatcher matcher(canvas->palette);
  if (context->backgroundMode == OPAQUE)
    compat::fillBackground(*canvas, *face, x, y, compat::extentOf(*face, characters),
                           matcher.indexFor(context->backgroundColour));
  const std::uint8_t ink = matcher.indexFor(context->textColour);
  compat::walkGlyphs(*face, characters, x, y,
                     [&canvas, ink](const compat::Glyph& glyph, int64_t penX, int64_t penY) {
                       compat::drawGlyph(*canvas, glyph, penX, penY, ink);
                     });
  return TRUE;
}
