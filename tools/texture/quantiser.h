// Choosing the 256 colours of an 8-bit texture, and each pixel's colour among them.
//
// A picture of 256 colours or fewer keeps exactly its own colours. Otherwise the colours are
// split, in OKLab and weighted by how many pixels have them, into 256 groups: each time the
// group with the largest sum of squared distances to its mean is cut in two, across its
// widest axis, where the cut leaves the least squared distance on both sides (a median cut
// that minimises variance, as Wu's quantiser does). A few k-means passes then move each colour
// to its nearest group and each group's colour to its members' mean. Each pixel takes the
// nearest palette colour in OKLab; with dithering, Floyd-Steinberg error diffusion in linear
// light (serpentine rows) spreads what each pixel misses onto its neighbours. Dithering is off
// by default: on a texture that turns and zooms, its pattern crawls.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "tools/texture/colour_space.h"

namespace texture {

constexpr int paletteSize = 256;

struct IndexedPicture {
  std::vector<Rgb> palette;           // at most paletteSize colours
  std::vector<std::uint8_t> indices;  // one per pixel, rows as given
};

// `pixels`: width x height colours, row by row (width matters for the dither only).
IndexedPicture quantise(std::span<const Rgb> pixels, int width, int height, bool dither);

}  // namespace texture
