#include "tools/texture/colour_space.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace texture {
namespace {

// The roots below use only the four operations and comparisons, which IEEE 754 makes exact
// everywhere, rather than the C library's pow and cbrt, whose last bits differ between
// glibc and the WebAssembly build's library: so make-texture and the page choose the very
// same colours.

// The n-th root of y in (0, 1] by Newton's method from 1, which falls to it monotonically;
// stops when a step no longer moves it.
double root(double y, int n) {
  double r = 1;
  for (int step = 0; step < 200; ++step) {
    double power = 1;
    for (int k = 0; k < n - 1; ++k) power *= r;
    const double next = ((n - 1) * r + y / power) / n;
    if (next >= r) break;
    r = next;
  }
  return r;
}

// The sRGB transfer function (IEC 61966-2-1) from byte to linear light: y^2.4 = y^2 (y^2)^(1/5).
double decode(double encoded) {
  if (encoded <= 0.04045) return encoded / 12.92;
  const double y = (encoded + 0.055) / 1.055;
  return y * y * root(y * y, 5);
}

struct Tables {
  std::array<float, 256> linear;
  std::array<float, 255> halfway;  // linear light half a byte above each byte value
};

const Tables& tables() {
  static const Tables built = [] {
    Tables t{};
    for (int i = 0; i < 256; ++i) t.linear[i] = static_cast<float>(decode(i / 255.0));
    for (int i = 0; i < 255; ++i) t.halfway[i] = static_cast<float>(decode((i + 0.5) / 255.0));
    return t;
  }();
  return built;
}

// Cube root of any float: scaled by powers of 8 into [1/8, 1] (exactly), rooted there.
float cubeRoot(float value) {
  if (value == 0 || !std::isfinite(value)) return value;
  double x = std::fabs(value), scale = 1;
  while (x > 1) x /= 8, scale *= 2;
  while (x < 0.125) x *= 8, scale /= 2;
  const double r = root(x, 3) * scale;
  return static_cast<float>(value < 0 ? -r : r);
}

}  // namespace

float linearFromByte(std::uint8_t value) { return tables().linear[value]; }

// The byte whose halfway points bracket the value: the nearest byte in sRGB's own steps.
std::uint8_t byteFromLinear(float value) {
  const std::array<float, 255>& halfway = tables().halfway;
  return static_cast<std::uint8_t>(std::upper_bound(halfway.begin(), halfway.end(), value) -
                                   halfway.begin());
}

LinearRgb linearFromRgb(Rgb colour) {
  return {linearFromByte(colour.red), linearFromByte(colour.green), linearFromByte(colour.blue)};
}

Rgb rgbFromLinear(LinearRgb colour) {
  return {byteFromLinear(colour.red), byteFromLinear(colour.green), byteFromLinear(colour.blue)};
}

// Björn Ottosson's OKLab (2020): linear sRGB to a cone-like response, a cube root, and a
// rotation into lightness and two opponent axes.
Oklab oklabFromLinear(LinearRgb c) {
  const float l = 0.4122214708f * c.red + 0.5363325363f * c.green + 0.0514459929f * c.blue;
  const float m = 0.2119034982f * c.red + 0.6806995451f * c.green + 0.1073969566f * c.blue;
  const float s = 0.0883024619f * c.red + 0.2817188376f * c.green + 0.6299787005f * c.blue;
  const float l3 = cubeRoot(l), m3 = cubeRoot(m), s3 = cubeRoot(s);
  return {0.2104542553f * l3 + 0.7936177850f * m3 - 0.0040720468f * s3,
          1.9779984951f * l3 - 2.4285922050f * m3 + 0.4505937099f * s3,
          0.0259040371f * l3 + 0.7827717662f * m3 - 0.8086757660f * s3};
}

LinearRgb linearFromOklab(Oklab c) {
  const float l3 = c.lightness + 0.3963377774f * c.a + 0.2158037573f * c.b;
  const float m3 = c.lightness - 0.1055613458f * c.a - 0.0638541728f * c.b;
  const float s3 = c.lightness - 0.0894841775f * c.a - 1.2914855480f * c.b;
  const float l = l3 * l3 * l3, m = m3 * m3 * m3, s = s3 * s3 * s3;
  return {4.0767416621f * l - 3.3077115913f * m + 0.2309699292f * s,
          -1.2684380046f * l + 2.6097574011f * m - 0.3413193965f * s,
          -0.0041960863f * l - 0.7034186147f * m + 1.7076147010f * s};
}

}  // namespace texture
