// The colour spaces the texture maker works in: sRGB bytes as files hold them, linear light for
// averaging and for spreading dither error (light adds up there), and OKLab for judging how far
// apart two colours look (its Euclidean distance follows the eye's judgement of small
// differences much better than sRGB's or linear light's).
#pragma once

#include <cstdint>

namespace texture {

struct Rgb {
  std::uint8_t red, green, blue;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

struct LinearRgb {
  float red, green, blue;
};

struct Oklab {
  float lightness, a, b;
};

// An sRGB byte as linear light, 0..1 (a table: exact to float precision).
float linearFromByte(std::uint8_t value);

// Linear light as the nearest sRGB byte (below 0 is 0, above 1 is 255).
std::uint8_t byteFromLinear(float value);

LinearRgb linearFromRgb(Rgb colour);
Rgb rgbFromLinear(LinearRgb colour);

Oklab oklabFromLinear(LinearRgb colour);
LinearRgb linearFromOklab(Oklab colour);

inline Oklab oklabFromRgb(Rgb colour) { return oklabFromLinear(linearFromRgb(colour)); }

inline float squaredDistance(const Oklab& p, const Oklab& q) {
  const float dl = p.lightness - q.lightness, da = p.a - q.a, db = p.b - q.b;
  return dl * dl + da * da + db * db;
}

}  // namespace texture
