// Built with -ffp-contract=off: the grid must round after every operation exactly as written.
// A fused multiply-add would skip a rounding, change grid values and so whole frames.
#include "demo/animation.h"

#include <cmath>

float zoom = 0.1f;
float angle = 0.0f;
int32_t gridU[gridColumns][gridRows];
int32_t gridV[gridColumns][gridRows];

namespace {

constexpr float zoomStep = 0.3f;
constexpr double zoomLimit = 90.0;
constexpr float zoomRestart = 0.1f;
constexpr float angleStep = 2.0f;
constexpr double pi = 3.1415926535;
// 65535, not 65536: a grid step of zoom texels comes out a hair short of zoom in 16.16.
constexpr double fixedPointScale = 65535.0;

}  // namespace

void advanceAnimation() {
  // The limit is tested on the unrounded double sum, strictly.
  const double zoomSum = static_cast<double>(zoom) + static_cast<double>(zoomStep);
  zoom = zoomSum > zoomLimit ? zoomRestart : static_cast<float>(zoomSum);

  angle = angle + angleStep;
  const double radians = static_cast<double>(angle) * pi / 180.0;
  const float ca = static_cast<float>(std::cos(radians));
  const float sa = static_cast<float>(std::sin(radians));

  for (int r = 0; r < gridRowsUsed; ++r) {
    for (int k = 0; k < gridColumnsUsed; ++k) {
      const float x = static_cast<float>(k - gridCentreColumn);
      const float y = static_cast<float>(r - gridCentreRow);
      float a = static_cast<float>(static_cast<double>(ca) * x - static_cast<double>(sa) * y);
      float b = static_cast<float>(static_cast<double>(sa) * x + static_cast<double>(ca) * y);
      a = a * zoom;
      b = b * zoom;
      // Truncation toward zero, straight from the double product.
      gridV[k][r] = static_cast<int32_t>(static_cast<double>(b) * fixedPointScale);
      gridU[k][r] = static_cast<int32_t>(static_cast<double>(a) * fixedPointScale);
    }
  }
}
