// How a look's pixels lie over the picture's texels along one axis, for the passes that read
// the texels under each pixel's two edges (shaders::pixelEdges): the share of each pixel that
// the texel under its last edge covers. Pure arithmetic.
#pragma once

#include <cstdint>
#include <vector>

namespace gles {

// For each of `pixels` pixels over `texels` texels (pixels >= texels > 0): the share of the
// pixel beyond the last texel boundary it crosses, 0 to 255, so 0 or 255 for a pixel inside
// one texel. The pixel's colour is then the texel under its first edge times 255 minus the
// share, plus the texel under its last edge times the share: the area coverage that the sharp
// look gives each pixel.
std::vector<std::uint8_t> lastEdgeShares(int pixels, int texels);

}  // namespace gles
