#include "tools/texture/texture_file.h"

#include "tools/texture/bmp_writer.h"
#include "tools/texture/quantiser.h"
#include "tools/texture/texture_fit.h"

namespace texture {

TextureFile textureFileFromRgba(std::span<const std::uint8_t> rgba, std::int64_t width,
                                std::int64_t height, bool dither) {
  if (auto problem = pictureSizeProblem(width, height)) return {{}, *problem};
  const std::uint64_t bytes = static_cast<std::uint64_t>(width * height) * 4;
  if (rgba.size() != bytes)
    return {{},
            std::to_string(rgba.size()) + " bytes of pixels for a picture of " +
                std::to_string(width) + " x " + std::to_string(height) + " (" +
                std::to_string(bytes) + " bytes)"};
  const std::vector<Rgb> tile =
      fitToTexture(rgba, static_cast<int>(width), static_cast<int>(height));
  const IndexedPicture picture = quantise(tile, textureSide, textureSide, dither);
  std::vector<std::uint32_t> table(paletteSize, 0);  // unused entries black
  for (std::size_t i = 0; i < picture.palette.size(); ++i) {
    const Rgb c = picture.palette[i];
    table[i] = static_cast<std::uint32_t>(c.red) << 16 | c.green << 8 | c.blue;
  }
  // Rows bottom-up, as a positive height says; 128 bytes a row need no padding.
  std::vector<std::uint8_t> rows;
  rows.reserve(picture.indices.size());
  for (int y = textureSide - 1; y >= 0; --y)
    rows.insert(rows.end(), picture.indices.begin() + y * textureSide,
                picture.indices.begin() + (y + 1) * textureSide);
  return {bmp::file({textureSide, textureSide, 8, 0}, table, rows), {}};
}

}  // namespace texture
