#include "tools/texture/colour_space.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace texture {
namespace {

// The sRGB transfer function, both ways (IEC 61966-2-1).
double decode(double encoded) {
  return encoded <= 0.04045 ? encoded / 12.92 : std::pow((encoded + 0.055) / 1.055, 2.4);
}

double encode(double linear) {
  return linear <= 0.0031308 ? linear * 12.92 : 1.055 * std::pow(linear, 1 / 2.4) - 0.055;
}

const std::array<float, 256>& linearTable() {
  static const std::array<float, 256> table = [] {
    std::array<float, 256> values{};
    for (int i = 0; i < 256; ++i) values[i] = static_cast<float>(decode(i / 255.0));
    return values;
  }();
  return table;
}

}  // namespace

float linearFromByte(std::uint8_t value) { return linearTable()[value]; }

std::uint8_t byteFromLinear(float value) {
  const double clamped = std::clamp(static_cast<double>(value), 0.0, 1.0);
  return static_cast<std::uint8_t>(std::lround(encode(clamped) * 255));
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
  const float l3 = std::cbrt(l), m3 = std::cbrt(m), s3 = std::cbrt(s);
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
