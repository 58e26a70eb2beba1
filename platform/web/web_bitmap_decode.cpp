// Decoding a checked bitmap file with the browser's own image decoder, without colour
// management, into the colours GDI bitmaps hold.
#include "platform/compat/bitmap_file.h"
#include "platform/web/web_page_calls.h"

namespace compat {

std::optional<DecodedBitmap> decodeBitmap(const std::vector<std::uint8_t>& bytes) {
  int width = 0, height = 0;
  if (!web::decodeBitmapFile(bytes.data(), static_cast<int>(bytes.size()), &width, &height) ||
      width <= 0 || height <= 0 || width > largestBitmapSide || height > largestBitmapSide ||
      static_cast<long long>(width) * height > largestBitmapPixels)
    return std::nullopt;
  std::vector<std::uint8_t> rgba(static_cast<std::size_t>(width) * height * 4);
  web::takeDecodedPixels(rgba.data());
  DecodedBitmap bitmap{width, height, {}};
  bitmap.colours.resize(static_cast<std::size_t>(width) * height);
  for (std::size_t i = 0; i < bitmap.colours.size(); ++i)  // 0x00BBGGRR, a COLORREF
    bitmap.colours[i] = rgba[4 * i] | rgba[4 * i + 1] << 8 | rgba[4 * i + 2] << 16;
  return bitmap;
}

}  // namespace compat
