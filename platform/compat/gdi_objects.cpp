// GDI objects, stock objects, device contexts and colour matching.
#include "platform/compat/gdi_objects.h"

#include <algorithm>
#include <array>
#include <utility>

#include "platform/compat/ddraw_objects.h"
#include "platform/compat/gdi_fonts.h"

namespace compat {
namespace {

std::vector<std::unique_ptr<HGDIOBJ__>>& objects() {
  static std::vector<std::unique_ptr<HGDIOBJ__>> all;
  return all;
}

std::vector<std::unique_ptr<HDC__>>& contexts() {
  static std::vector<std::unique_ptr<HDC__>> all;
  return all;
}

HGDIOBJ__* liveObject(HGDIOBJ object) {
  for (const auto& candidate : objects())
    if (candidate.get() == object) return candidate.get();
  return nullptr;
}

bool selectedAnywhere(HGDIOBJ object) {
  for (const auto& dc : contexts())
    if (dc->bitmap == object || dc->font == object || dc->pen == object || dc->brush == object)
      return true;
  return false;
}

template <typename T>
T* makeStock() {
  T* object = makeGdiObject<T>();
  object->stock = true;
  return object;
}

// Windows' stock objects, made once; GetStockObject hands out these.
struct StockObjects {
  std::array<HGDIOBJ, 20> byIndex{};
  GdiBitmap* oneByOne = nullptr;  // what a new memory context holds

  StockObjects() {
    auto brush = [](COLORREF colour, bool hollow = false) {
      auto* b = makeStock<GdiBrush>();
      b->colour = colour;
      b->hollow = hollow;
      return b;
    };
    auto pen = [](COLORREF colour, bool hollow = false) {
      auto* p = makeStock<GdiPen>();
      p->colour = colour;
      p->hollow = hollow;
      return p;
    };
    byIndex[WHITE_BRUSH] = brush(RGB(255, 255, 255));
    byIndex[1] = brush(RGB(192, 192, 192));  // LTGRAY_BRUSH
    byIndex[2] = brush(RGB(128, 128, 128));  // GRAY_BRUSH
    byIndex[3] = brush(RGB(64, 64, 64));     // DKGRAY_BRUSH
    byIndex[BLACK_BRUSH] = brush(RGB(0, 0, 0));
    byIndex[NULL_BRUSH] = brush(0, true);
    byIndex[WHITE_PEN] = pen(RGB(255, 255, 255));
    byIndex[BLACK_PEN] = pen(RGB(0, 0, 0));
    byIndex[NULL_PEN] = pen(0, true);
    oneByOne = makeStock<GdiBitmap>();
    oneByOne->width = oneByOne->height = 1;
    oneByOne->pixels.assign(1, RGB(0, 0, 0));
  }
};

StockObjects& stock() {
  static StockObjects objects;
  return objects;
}

}  // namespace

template <typename T>
T* makeGdiObject() {
  objects().push_back(std::make_unique<T>());
  return static_cast<T*>(objects().back().get());
}
template GdiBrush* makeGdiObject<GdiBrush>();
template GdiPen* makeGdiObject<GdiPen>();
template GdiBitmap* makeGdiObject<GdiBitmap>();
template GdiFont* makeGdiObject<GdiFont>();

GdiFont::~GdiFont() = default;

GdiFont* defaultFont() {
  // About 16 pixels high, as Windows' system font; made on first use, kept for good (its
  // glyphs are rasterised once and reused by every call).
  static GdiFont* font = [] {
    GdiFont* made = makeStock<GdiFont>();
    made->face = FontFace::open({16, 0, 0, FW_BOLD, false, DEFAULT_CHARSET, ""});
    return made;
  }();
  return font;
}

std::uint8_t ColourMatcher::indexFor(COLORREF colour) {
  // Pictures repeat their colours: each search is remembered in a small direct-mapped table.
  const COLORREF rgb = colour & 0xFFFFFF;
  Remembered& slot = remembered_[(rgb ^ (rgb >> 10) ^ (rgb >> 20)) % remembered_.size()];
  if (slot.known && slot.colour == rgb) return slot.index;
  const int red = GetRValue(colour), green = GetGValue(colour), blue = GetBValue(colour);
  int best = 0;
  long bestDistance = -1;
  for (int i = 0; i < 256; ++i) {
    const PaletteColour& c = palette_[i];
    const long dr = c.red - red, dg = c.green - green, db = c.blue - blue;
    const long distance = dr * dr + dg * dg + db * db;
    if (bestDistance < 0 || distance < bestDistance) {
      best = i;
      bestDistance = distance;
      if (distance == 0) break;  // the first exact match
    }
  }
  slot = {rgb, static_cast<std::uint8_t>(best), true};
  return static_cast<std::uint8_t>(best);
}

HDC createDeviceContext(DirectDrawSurface* surface, const Palette& colours) {
  auto dc = std::make_unique<HDC__>();
  dc->surface = surface;
  dc->colours = colours;
  if (surface == nullptr) dc->bitmap = stock().oneByOne;
  dc->pen = stock().byIndex[BLACK_PEN];
  dc->brush = stock().byIndex[WHITE_BRUSH];
  dc->font = defaultFont();
  contexts().push_back(std::move(dc));
  return contexts().back().get();
}

void destroyDeviceContext(HDC dc) {
  auto found = std::find_if(contexts().begin(), contexts().end(),
                            [dc](const std::unique_ptr<HDC__>& c) { return c.get() == dc; });
  if (found != contexts().end()) contexts().erase(found);
}

HDC__* liveDeviceContext(HDC dc) {
  for (const auto& candidate : contexts())
    if (candidate.get() == dc) return candidate.get();
  return nullptr;
}

std::optional<Canvas> canvasOf(const HDC__& dc) {
  if (dc.surface == nullptr) return std::nullopt;
  return dc.surface->canvas(dc.colours);
}

}  // namespace compat

using compat::liveDeviceContext;

HGDIOBJ WINAPI GetStockObject(int object) {
  if (object == SYSTEM_FONT || object == DEFAULT_GUI_FONT) return compat::defaultFont();
  if (object < 0 || object >= static_cast<int>(compat::stock().byIndex.size())) return nullptr;
  return compat::stock().byIndex[object];
}

HDC WINAPI CreateCompatibleDC(HDC dc) {
  if (dc != nullptr && liveDeviceContext(dc) == nullptr) return nullptr;
  return compat::createDeviceContext(nullptr);
}

BOOL WINAPI DeleteDC(HDC dc) {
  HDC__* context = liveDeviceContext(dc);
  // Surface contexts go back with ReleaseDC, not here.
  if (context == nullptr || context->surface != nullptr) return FALSE;
  compat::destroyDeviceContext(dc);
  return TRUE;
}

HGDIOBJ WINAPI SelectObject(HDC dc, HGDIOBJ object) {
  HDC__* context = liveDeviceContext(dc);
  HGDIOBJ__* selected = compat::liveObject(object);
  if (context == nullptr || selected == nullptr) return nullptr;
  HGDIOBJ* slot = nullptr;
  if (dynamic_cast<compat::GdiFont*>(selected))
    slot = &context->font;
  else if (dynamic_cast<compat::GdiPen*>(selected))
    slot = &context->pen;
  else if (dynamic_cast<compat::GdiBrush*>(selected))
    slot = &context->brush;
  else if (dynamic_cast<compat::GdiBitmap*>(selected)) {
    // Only a memory context holds a bitmap.
    if (context->surface != nullptr) return nullptr;
    slot = &context->bitmap;
  }
  if (slot == nullptr) return nullptr;
  return std::exchange(*slot, object);
}

BOOL WINAPI DeleteObject(HGDIOBJ object) {
  HGDIOBJ__* doomed = compat::liveObject(object);
  if (doomed == nullptr) return FALSE;
  if (doomed->stock) return TRUE;  // stock objects live on, and deleting one is harmless
  if (compat::selectedAnywhere(object)) return FALSE;
  auto& all = compat::objects();
  all.erase(std::find_if(all.begin(), all.end(), [object](const std::unique_ptr<HGDIOBJ__>& o) {
    return o.get() == object;
  }));
  return TRUE;
}

int WINAPI SetBkMode(HDC dc, int mode) {
  HDC__* context = liveDeviceContext(dc);
  if (context == nullptr || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
  return std::exchange(context->backgroundMode, mode);
}

COLORREF WINAPI SetTextColor(HDC dc, COLORREF colour) {
  HDC__* context = liveDeviceContext(dc);
  if (context == nullptr) return CLR_INVALID;
  return std::exchange(context->textColour, colour);
}

COLORREF WINAPI SetBkColor(HDC dc, COLORREF colour) {
  HDC__* context = liveDeviceContext(dc);
  if (context == nullptr) return CLR_INVALID;
  return std::exchange(context->backgroundColour, colour);
}

HBRUSH WINAPI CreateSolidBrush(COLORREF colour) {
  auto* brush = compat::makeGdiObject<compat::GdiBrush>();
  brush->colour = colour;
  return brush;
}

HPEN WINAPI CreatePen(int style, int width, COLORREF colour) {
  if (style != PS_SOLID) return nullptr;  // only solid pens
  auto* pen = compat::makeGdiObject<compat::GdiPen>();
  pen->colour = colour;
  pen->width = std::max(width, 1);
  return pen;
}
