// GDI's objects and device contexts as compat keeps them. A device context draws on an 8-bit
// canvas (a DirectDraw surface's memory) and turns every colour into the index of the nearest
// entry of the canvas's palette. Memory contexts hold a bitmap to copy from; drawing into a
// memory context's bitmap is not supported (the engine never does it).
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "platform/compat/gdi_api.h"
#include "platform/compat/screen.h"

namespace compat {
class DirectDrawSurface;
class FontFace;
}  // namespace compat

// Every GDI object; stock objects are never deleted.
struct HGDIOBJ__ {
  virtual ~HGDIOBJ__() = default;
  bool stock = false;
};

namespace compat {

struct GdiBrush final : HGDIOBJ__ {
  COLORREF colour = 0;
  bool hollow = false;
};

struct GdiPen final : HGDIOBJ__ {
  COLORREF colour = 0;
  int width = 1;
  bool hollow = false;
};

// A device-independent bitmap: its pixels as colours, rows top to bottom.
struct GdiBitmap final : HGDIOBJ__ {
  int width = 0;
  int height = 0;
  std::vector<COLORREF> pixels;
  COLORREF at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

struct GdiFont final : HGDIOBJ__ {
  std::unique_ptr<FontFace> face;
  ~GdiFont() override;
};

// 8-bit pixels to draw on, and the palette that colours are matched into.
struct Canvas {
  std::uint8_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  int pitch = 0;
  Palette palette{};

  bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
  std::uint8_t& at(int x, int y) { return pixels[static_cast<ptrdiff_t>(y) * pitch + x]; }
};

// The palette index whose colour is nearest (least squared RGB distance) to `colour`: an exact
// match first, the lowest index on ties. Remembers what it has matched.
class ColourMatcher {
 public:
  explicit ColourMatcher(const Palette& palette) : palette_(palette) {}
  std::uint8_t indexFor(COLORREF colour);

 private:
  struct Remembered {
    COLORREF colour = 0;
    std::uint8_t index = 0;
    bool known = false;
  };
  const Palette& palette_;
  std::array<Remembered, 1024> remembered_{};
};

// Makes a GDI object that compat owns until DeleteObject.
template <typename T>
T* makeGdiObject();

GdiFont* defaultFont();

}  // namespace compat

struct HDC__ {
  compat::DirectDrawSurface* surface = nullptr;  // null for a memory context
  compat::Palette colours{};  // what a surface context's colours match into, from GetDC on
  HGDIOBJ bitmap = nullptr;
  HGDIOBJ font = nullptr;
  HGDIOBJ pen = nullptr;
  HGDIOBJ brush = nullptr;
  COLORREF textColour = RGB(0, 0, 0);
  COLORREF backgroundColour = RGB(255, 255, 255);
  int backgroundMode = OPAQUE;
};

namespace compat {

// A device context for a surface (GetDC), matching colours into `colours`, or for memory
// (CreateCompatibleDC).
HDC createDeviceContext(DirectDrawSurface* surface, const Palette& colours = {});
void destroyDeviceContext(HDC dc);
// The context behind a handle, or null for one that does not exist.
HDC__* liveDeviceContext(HDC dc);
// The canvas of a surface context; nothing for a memory context.
std::optional<Canvas> canvasOf(const HDC__& dc);

}  // namespace compat
