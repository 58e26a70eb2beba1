// The texture quantiser's colour error, beside a fixed 3-3-2 palette and another quantiser's
// result (bench/texture_quality.sh passes ImageMagick's). Binary PPM files (P6, 8 bits):
//
//   texture-quality fit PICTURE.ppm TILE.ppm      the picture fitted to the 128 x 128 tile
//   texture-quality measure TILE.ppm OTHER.ppm    one line per method: the error against TILE
//
// Each pixel's error is measured two ways: the distance in OKLab (x 100, so that 1 is about a
// just-noticeable step; the quantiser's own measure) and CIEDE2000 (CIE's colour difference,
// from CIELAB under D65, independent of the quantiser). The figures are the mean and the 99th
// percentile over the tile's pixels.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "tools/texture/colour_space.h"
#include "tools/texture/quantiser.h"
#include "tools/texture/texture_fit.h"

namespace {

using texture::Rgb;

struct Picture {
  int width = 0, height = 0;
  std::vector<Rgb> pixels;
};

Picture readPpm(const char* name) {
  std::ifstream in(name, std::ios::binary);
  std::string magic;
  int maximum = 0;
  Picture picture;
  in >> magic >> picture.width >> picture.height >> maximum;
  in.get();
  if (!in || magic != "P6" || maximum != 255 || picture.width < 1 || picture.height < 1) {
    std::fprintf(stderr, "texture-quality: %s: not an 8-bit binary PPM\n", name);
    std::exit(2);
  }
  picture.pixels.resize(static_cast<std::size_t>(picture.width) * picture.height);
  in.read(reinterpret_cast<char*>(picture.pixels.data()), picture.pixels.size() * 3);
  if (!in) {
    std::fprintf(stderr, "texture-quality: %s: cut short\n", name);
    std::exit(2);
  }
  return picture;
}

void writePpm(const char* name, const Picture& picture) {
  std::ofstream out(name, std::ios::binary);
  out << "P6\n" << picture.width << ' ' << picture.height << "\n255\n";
  out.write(reinterpret_cast<const char*>(picture.pixels.data()), picture.pixels.size() * 3);
}

struct Lab {
  double l, a, b;
};

// CIELAB under D65 from sRGB.
Lab cielab(Rgb c) {
  const texture::LinearRgb v = texture::linearFromRgb(c);
  const double x = (0.4124564 * v.red + 0.3575761 * v.green + 0.1804375 * v.blue) / 0.95047;
  const double y = 0.2126729 * v.red + 0.7151522 * v.green + 0.0721750 * v.blue;
  const double z = (0.0193339 * v.red + 0.1191920 * v.green + 0.9503041 * v.blue) / 1.08883;
  auto f = [](double t) {
    return t > 216.0 / 24389 ? std::cbrt(t) : (24389.0 / 27 * t + 16) / 116;
  };
  return {116 * f(y) - 16, 500 * (f(x) - f(y)), 200 * (f(y) - f(z))};
}

// CIEDE2000 (Sharma, Wu and Dalal's formulation), with kL = kC = kH = 1.
double ciede2000(Lab p, Lab q) {
  constexpr double pi = 3.14159265358979323846;
  auto degrees = [](double radians) { return radians * 180 / pi; };
  auto radians = [](double degrees) { return degrees * pi / 180; };
  const double c1 = std::hypot(p.a, p.b), c2 = std::hypot(q.a, q.b);
  const double meanC = (c1 + c2) / 2, meanC7 = std::pow(meanC, 7);
  const double g = 0.5 * (1 - std::sqrt(meanC7 / (meanC7 + std::pow(25.0, 7))));
  const double a1 = (1 + g) * p.a, a2 = (1 + g) * q.a;
  const double cp1 = std::hypot(a1, p.b), cp2 = std::hypot(a2, q.b);
  auto hue = [&](double b, double a) {
    if (a == 0 && b == 0) return 0.0;
    const double h = degrees(std::atan2(b, a));
    return h < 0 ? h + 360 : h;
  };
  const double h1 = hue(p.b, a1), h2 = hue(q.b, a2);
  const double dL = q.l - p.l, dC = cp2 - cp1;
  double dh = 0;
  if (cp1 * cp2 != 0) {
    dh = h2 - h1;
    if (dh > 180) dh -= 360;
    if (dh < -180) dh += 360;
  }
  const double dH = 2 * std::sqrt(cp1 * cp2) * std::sin(radians(dh / 2));
  const double meanL = (p.l + q.l) / 2, meanCp = (cp1 + cp2) / 2;
  double meanH = h1 + h2;
  if (cp1 * cp2 != 0) {
    if (std::fabs(h1 - h2) <= 180)
      meanH = (h1 + h2) / 2;
    else
      meanH = h1 + h2 < 360 ? (h1 + h2 + 360) / 2 : (h1 + h2 - 360) / 2;
  }
  const double t = 1 - 0.17 * std::cos(radians(meanH - 30)) + 0.24 * std::cos(radians(2 * meanH)) +
                   0.32 * std::cos(radians(3 * meanH + 6)) -
                   0.20 * std::cos(radians(4 * meanH - 63));
  const double dTheta = 30 * std::exp(-std::pow((meanH - 275) / 25, 2));
  const double meanCp7 = std::pow(meanCp, 7);
  const double rC = 2 * std::sqrt(meanCp7 / (meanCp7 + std::pow(25.0, 7)));
  const double sL =
      1 + 0.015 * (meanL - 50) * (meanL - 50) / std::sqrt(20 + (meanL - 50) * (meanL - 50));
  const double sC = 1 + 0.045 * meanCp, sH = 1 + 0.015 * meanCp * t;
  const double rT = -std::sin(radians(2 * dTheta)) * rC;
  return std::sqrt(std::pow(dL / sL, 2) + std::pow(dC / sC, 2) + std::pow(dH / sH, 2) +
                   rT * (dC / sC) * (dH / sH));
}

struct Figures {
  double mean, p99;
};

Figures summary(std::vector<double> errors) {
  std::sort(errors.begin(), errors.end());
  double sum = 0;
  for (double e : errors) sum += e;
  const std::size_t at =
      std::min(errors.size() - 1, static_cast<std::size_t>(errors.size() * 0.99));
  return {sum / errors.size(), errors[at]};
}

std::size_t distinctColours(const std::vector<Rgb>& pixels) {
  std::vector<std::uint32_t> packed;
  for (Rgb c : pixels) packed.push_back(c.red << 16 | c.green << 8 | c.blue);
  std::sort(packed.begin(), packed.end());
  return std::unique(packed.begin(), packed.end()) - packed.begin();
}

void report(const char* method, const Picture& tile, const std::vector<Rgb>& result,
            double milliseconds) {
  std::vector<double> oklab, de2000;
  for (std::size_t i = 0; i < tile.pixels.size(); ++i) {
    oklab.push_back(100 * std::sqrt(texture::squaredDistance(texture::oklabFromRgb(tile.pixels[i]),
                                                             texture::oklabFromRgb(result[i]))));
    de2000.push_back(ciede2000(cielab(tile.pixels[i]), cielab(result[i])));
  }
  const Figures ok = summary(oklab), de = summary(de2000);
  std::printf(
      "  %-24s %4zu colours  OKLab x100 mean %5.2f p99 %5.2f  CIEDE2000 mean %5.2f p99 %5.2f",
      method, distinctColours(result), ok.mean, ok.p99, de.mean, de.p99);
  if (milliseconds >= 0) std::printf("  %.1f ms", milliseconds);
  std::printf("\n");
}

Rgb threeThreeTwo(Rgb c) {
  auto level = [](int value, int levels) {
    const int step = static_cast<int>(std::lround(value * (levels - 1) / 255.0));
    return static_cast<std::uint8_t>(std::lround(step * 255.0 / (levels - 1)));
  };
  return {level(c.red, 8), level(c.green, 8), level(c.blue, 4)};
}

void measure(const Picture& tile, const Picture& other) {
  std::printf("  %zu colours in the tile\n", distinctColours(tile.pixels));
  for (bool dither : {false, true}) {
    const auto start = std::chrono::steady_clock::now();
    const texture::IndexedPicture q =
        texture::quantise(tile.pixels, tile.width, tile.height, dither);
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    std::vector<Rgb> result;
    for (std::uint8_t index : q.indices) result.push_back(q.palette[index]);
    report(dither ? "ours, dithered" : "ours", tile, result, ms);
  }
  std::vector<Rgb> fixed;
  for (Rgb c : tile.pixels) fixed.push_back(threeThreeTwo(c));
  report("3-3-2 palette", tile, fixed, -1);
  report("ImageMagick -colors 256", tile, other.pixels, -1);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], "fit") == 0) {
    const Picture picture = readPpm(argv[2]);
    std::vector<std::uint8_t> rgba;
    for (Rgb c : picture.pixels) rgba.insert(rgba.end(), {c.red, c.green, c.blue, 255});
    writePpm(argv[3], {texture::textureSide, texture::textureSide,
                       texture::fitToTexture(rgba, picture.width, picture.height)});
    return 0;
  }
  if (argc == 4 && std::strcmp(argv[1], "measure") == 0) {
    const Picture tile = readPpm(argv[2]), other = readPpm(argv[3]);
    if (other.width != tile.width || other.height != tile.height) {
      std::fprintf(stderr, "texture-quality: the two pictures differ in size\n");
      return 2;
    }
    measure(tile, other);
    return 0;
  }
  std::fprintf(stderr,
               "usage: texture-quality fit PICTURE.ppm TILE.ppm\n"
               "       texture-quality measure TILE.ppm OTHER.ppm\n");
  return 2;
}
