#include "platform/gles/edge_shares.h"

#include <algorithm>
#include <cmath>

namespace gles {

std::vector<std::uint8_t> lastEdgeShares(int pixels, int texels) {
  std::vector<std::uint8_t> shares(static_cast<std::size_t>(std::max(pixels, 0)));
  if (pixels <= 0 || texels <= 0) return shares;
  const double pixelsATexel = static_cast<double>(pixels) / texels;
  for (int p = 0; p < pixels; ++p) {
    // The texel under the pixel's last edge, p + 1 pixels along, in whole numbers exactly.
    const std::int64_t last = (std::int64_t{p} + 1) * texels / pixels;
    // The pixel's part from that texel's first edge on: the whole pixel when it starts there.
    const double share = std::clamp(p + 1 - static_cast<double>(last) * pixelsATexel, 0.0, 1.0);
    shares[p] = static_cast<std::uint8_t>(std::lround(share * 255.0));
  }
  return shares;
}

}  // namespace gles
