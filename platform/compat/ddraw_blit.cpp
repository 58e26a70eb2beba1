// Blt and BltFast: colour fills and 1:1 copies between 8-bit surfaces. A rectangle that is
// inverted or leaves its surface is refused with DDERR_INVALIDRECT and nothing is drawn; only
// a surface with a clipper trims the destination to what is visible instead. Source keys are
// single colours: Blt's needs the source to have one, BltFast's takes colour 0 where it has
// none.
#include <algorithm>
#include <cstring>

#include "platform/compat/ddraw_objects.h"
#include "platform/compat/window_registry.h"

namespace compat {
namespace {

// In 64 bits: a caller's rectangle may span more than a LONG can hold.
std::int64_t rectWidth(const RECT& r) { return std::int64_t{r.right} - r.left; }
std::int64_t rectHeight(const RECT& r) { return std::int64_t{r.bottom} - r.top; }

// The inclusive index range a source colour key makes transparent.
struct KeyRange {
  std::uint8_t low;
  std::uint8_t high;
};

std::optional<KeyRange> keyRange(const std::optional<DDCOLORKEY>& key) {
  if (!key || key->dwColorSpaceLowValue > 0xFF) return std::nullopt;
  const DWORD high = std::min<DWORD>(key->dwColorSpaceHighValue, 0xFF);
  if (high < key->dwColorSpaceLowValue) return std::nullopt;
  return KeyRange{static_cast<std::uint8_t>(key->dwColorSpaceLowValue),
                  static_cast<std::uint8_t>(high)};
}

// Copies a checked rectangle. Rows are staged through a buffer when source and destination
// share memory, so overlapping copies on one surface read the picture as it was.
void copyRect(DirectDrawSurface& dest, int x, int y, DirectDrawSurface& source, const RECT& from,
              const std::optional<KeyRange>& key) {
  const int w = static_cast<int>(rectWidth(from));
  const int h = static_cast<int>(rectHeight(from));
  if (w <= 0 || h <= 0) return;
  std::vector<std::uint8_t> staged;
  const std::uint8_t* rows = nullptr;
  std::size_t rowStride = 0;
  if (&dest == &source) {
    staged.resize(static_cast<std::size_t>(w) * h);
    for (int i = 0; i < h; ++i)
      std::memcpy(&staged[static_cast<std::size_t>(i) * w], source.row(from.top + i) + from.left,
                  w);
    rows = staged.data();
    rowStride = w;
  } else {
    rows = source.row(from.top) + from.left;
    rowStride = source.pitch();
  }
  for (int i = 0; i < h; ++i) {
    const std::uint8_t* in = rows + i * rowStride;
    std::uint8_t* out = dest.row(y + i) + x;
    if (!key) {
      std::memcpy(out, in, w);
      continue;
    }
    for (int j = 0; j < w; ++j)
      if (in[j] < key->low || in[j] > key->high) out[j] = in[j];
  }
}

// What a clipper lets a blit reach: the surface, and of it only the clipper's window.
RECT clipArea(const DirectDrawClipper& clipper, int width, int height) {
  RECT area{0, 0, width, height};
  if (const HWND__* window = liveWindow(clipper.window())) {
    area.left = std::max(area.left, window->rect.left);
    area.top = std::max(area.top, window->rect.top);
    area.right = std::min(area.right, window->rect.right);
    area.bottom = std::min(area.bottom, window->rect.bottom);
  }
  return area;
}

void fillRect(DirectDrawSurface& dest, const RECT& area, std::uint8_t colour) {
  for (int y = area.top; y < area.bottom; ++y)
    std::memset(dest.row(y) + area.left, colour, static_cast<std::size_t>(rectWidth(area)));
}

}  // namespace

HRESULT DirectDrawSurface::Blt(LPRECT destRect, LPDIRECTDRAWSURFACE sourceSurface,
                               LPRECT sourceRect, DWORD flags, LPDDBLTFX effects) {
  if (auto fault = takeFault(testing::DirectDrawCall::Blt)) return *fault;
  // A fill takes no source, and a copy must have one.
  auto* source = static_cast<DirectDrawSurface*>(sourceSurface);
  if ((flags & DDBLT_COLORFILL) ? source != nullptr : source == nullptr) return DDERR_INVALIDPARAMS;
  // A keyed blit needs a source with a key: a fill has none, and is refused keyed too.
  if ((flags & DDBLT_KEYSRC) && (source == nullptr || !source->sourceKey_))
    return DDERR_INVALIDPARAMS;
  if (auto reason = unavailable()) return *reason;
  RECT dest = destRect ? *destRect : RECT{0, 0, width_, height_};
  if (rectInverted(dest)) return DDERR_INVALIDRECT;
  // What lies outside a clipped surface's area is trimmed; elsewhere it is an error.
  const RECT requested = dest;
  if (clipper_ != nullptr) {
    const RECT area = clipArea(*clipper_, width_, height_);
    dest.left = std::max(dest.left, area.left);
    dest.top = std::max(dest.top, area.top);
    dest.right = std::min(dest.right, area.right);
    dest.bottom = std::min(dest.bottom, area.bottom);
    if (dest.left >= dest.right || dest.top >= dest.bottom) return DD_OK;
  } else if (!rectInside(dest, width_, height_)) {
    return DDERR_INVALIDRECT;
  }

  if (flags & DDBLT_COLORFILL) {
    if (effects == nullptr || effects->dwSize != sizeof(DDBLTFX)) return DDERR_INVALIDPARAMS;
    fillRect(*this, dest, static_cast<std::uint8_t>(effects->dwFillColor));
    presentIfVisible();
    return DD_OK;
  }

  if (source != this)
    if (auto reason = source->unavailable()) return *reason;
  RECT from = sourceRect ? *sourceRect : RECT{0, 0, source->width_, source->height_};
  if (!rectInside(from, source->width_, source->height_)) return DDERR_INVALIDRECT;
  if (rectWidth(from) != rectWidth(requested) || rectHeight(from) != rectHeight(requested))
    return DDERR_NOSTRETCHHW;
  // Trimming the destination trims the source by the same amounts.
  from.left += dest.left - requested.left;
  from.top += dest.top - requested.top;
  from.right -= requested.right - dest.right;
  from.bottom -= requested.bottom - dest.bottom;
  const std::optional<KeyRange> key =
      (flags & DDBLT_KEYSRC) ? keyRange(source->sourceKey_) : std::nullopt;
  copyRect(*this, dest.left, dest.top, *source, from, key);
  presentIfVisible();
  return DD_OK;
}

HRESULT DirectDrawSurface::BltFast(DWORD x, DWORD y, LPDIRECTDRAWSURFACE sourceSurface,
                                   LPRECT sourceRect, DWORD trans) {
  if (auto fault = takeFault(testing::DirectDrawCall::BltFast)) return *fault;
  auto* source = static_cast<DirectDrawSurface*>(sourceSurface);
  if (source == nullptr) return DDERR_INVALIDPARAMS;
  if (auto reason = unavailable()) return *reason;
  if (source != this)
    if (auto reason = source->unavailable()) return *reason;
  // BltFast never clips; DirectDraw says so rather than drawing past the window.
  if (clipper_ != nullptr) return DDERR_BLTFASTCANTCLIP;
  if (trans & DDBLTFAST_DESTCOLORKEY) return DDERR_UNSUPPORTED;
  const RECT from = sourceRect ? *sourceRect : RECT{0, 0, source->width_, source->height_};
  if (!rectInside(from, source->width_, source->height_)) return DDERR_INVALIDRECT;
  // x and y arrive unsigned: a negative position is a huge one and lands outside.
  if (x > static_cast<DWORD>(width_) || y > static_cast<DWORD>(height_) ||
      x + rectWidth(from) > width_ || y + rectHeight(from) > height_)
    return DDERR_INVALIDRECT;
  const std::optional<KeyRange> key =
      (trans & DDBLTFAST_SRCCOLORKEY)
          // A surface without a key counts as keyed on colour 0 here, as on DirectDraw.
          ? keyRange(source->sourceKey_.value_or(DDCOLORKEY{0, 0}))
          : std::nullopt;
  copyRect(*this, static_cast<int>(x), static_cast<int>(y), *source, from, key);
  presentIfVisible();
  return DD_OK;
}

}  // namespace compat
