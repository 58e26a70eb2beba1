// The page's texture maker: the browser decodes a visitor's picture to RGBA and hands it here,
// and gets back the texture file make-texture would write from the same pixels. Plain C
// functions for the module's JavaScript (texture_maker_api.js wraps them as makeTexture).
#include <cstdint>
#include <span>

#include "tools/texture/texture_file.h"

namespace {

texture::TextureFile made;

}  // namespace

extern "C" {

// Makes the texture file from width x height RGBA pixels, the `length` bytes at `rgba`;
// returns its size in bytes, or 0 when the picture is refused (texture_maker_problem says
// why). The bytes stay at texture_maker_bytes() until the next call.
int texture_maker_make(const std::uint8_t* rgba, int length, int width, int height, int dither) {
  const std::span<const std::uint8_t> input(rgba, rgba == nullptr || length < 0 ? 0 : length);
  made = texture::textureFileFromRgba(input, width, height, dither != 0);
  return static_cast<int>(made.bytes.size());
}

const std::uint8_t* texture_maker_bytes() { return made.bytes.data(); }

const char* texture_maker_problem() { return made.problem.c_str(); }

}  // extern "C"
