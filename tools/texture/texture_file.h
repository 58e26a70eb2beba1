// A picture made into the demo's texture file: fitted to the texture's tile, its colours
// chosen, and written as an 8-bit Windows bitmap with a full 256-colour table, the file the
// demo reads as texture.bmp. The same code runs in make-texture and, in WebAssembly, in the
// page.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace texture {

struct TextureFile {
  std::vector<std::uint8_t> bytes;  // the bitmap file; empty when refused
  std::string problem;              // why it was refused, for "...: <problem>"
};

// `rgba`: width x height pixels, rows top to bottom, red, green, blue and (straight) alpha.
// A size pictureSizeProblem refuses, or pixels of another length than width x height x 4
// bytes, is refused.
TextureFile textureFileFromRgba(std::span<const std::uint8_t> rgba, std::int64_t width,
                                std::int64_t height, bool dither);

}  // namespace texture
