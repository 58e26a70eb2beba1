// Windows bitmap files as the system writes them: a 14-byte file header, a 40-byte information
// header, the colour table and the pixel rows. Used by make-texture and by the tests' bitmaps.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace bmp {

struct Layout {
  std::int32_t width;
  std::int32_t height;  // negative: rows top-down
  std::uint16_t bitsPerPixel;
  std::uint32_t compression;  // 0 BI_RGB, 1 BI_RLE8
};

// The whole file: headers for `layout`, `colourTable` (0x00RRGGBB, written blue, green, red,
// reserved) and `pixelData` as given, rows already in file order and padded.
std::vector<std::uint8_t> file(const Layout& layout, std::span<const std::uint32_t> colourTable,
                               std::span<const std::uint8_t> pixelData);

// The bytes of one row of `width` pixels at `bitsPerPixel`, padded to a multiple of four.
std::uint32_t rowBytes(std::int32_t width, int bitsPerPixel);

}  // namespace bmp
