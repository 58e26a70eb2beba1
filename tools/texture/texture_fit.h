// A picture of any size made into the demo's texture tile. The texture mapper reads a square of
// textureSide pixels and wraps its coordinates on that side, so the tile is exactly that
// square: the largest centred square of the picture (its aspect ratio kept: nothing is
// stretched, the longer side loses its ends), scaled by area averaging in linear light, so that
// a large photo keeps its fine detail as the right mix of light rather than as aliasing, and a
// small picture is enlarged with its pixels kept as sharp blocks.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "tools/texture/colour_space.h"

namespace texture {

constexpr int textureSide = 128;

// The largest picture taken (64 Mi pixels: an 8192 x 8192 picture, or any camera's photo), so
// that decoding one never needs more than a few hundred megabytes.
constexpr std::uint64_t maxPicturePixels = std::uint64_t{1} << 26;

// Why a picture of that size is refused (an empty side, or more than maxPicturePixels), or
// nothing when it is taken.
std::optional<std::string> pictureSizeProblem(std::int64_t width, std::int64_t height);

// `rgba`: width x height pixels, rows top to bottom, 4 bytes each (red, green, blue, alpha not
// premultiplied), of a size pictureSizeProblem takes. Transparent parts come out as if on
// black. Returns textureSide x textureSide pixels, rows top to bottom.
std::vector<Rgb> fitToTexture(std::span<const std::uint8_t> rgba, int width, int height);

}  // namespace texture
