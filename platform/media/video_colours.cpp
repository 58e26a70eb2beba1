#include "platform/media/video_colours.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace video {
namespace {

// BT.709's luma weights.
constexpr double redWeight = 0.2126;
constexpr double blueWeight = 0.0722;
constexpr double greenWeight = 1 - redWeight - blueWeight;

std::uint8_t studioLevel(double value, double low, double high) {
  return static_cast<std::uint8_t>(
      std::clamp(std::lround(value), std::lround(low), std::lround(high)));
}

std::array<StudioColour, 256> studioTable(const compat::Palette& palette) {
  std::array<StudioColour, 256> table;
  for (int i = 0; i < 256; ++i)
    table[i] = studioColourOf(palette[i].red, palette[i].green, palette[i].blue);
  return table;
}

const std::uint8_t* rowOf(const compat::IndexedFrame& frame, int y) {
  return frame.pixels + static_cast<std::ptrdiff_t>(y) * frame.pitch;
}

// Each picture row becomes `factor` rows of `factor`-wide runs of one value per pixel.
template <typename ValueOf>
void writeBlocks(const compat::IndexedFrame& frame, int factor, std::uint8_t* plane, int pitch,
                 ValueOf valueOf) {
  const int width = frame.width * factor;
  for (int y = 0; y < frame.height; ++y) {
    const std::uint8_t* source = rowOf(frame, y);
    std::uint8_t* first = plane + static_cast<std::ptrdiff_t>(y) * factor * pitch;
    for (int x = 0; x < frame.width; ++x)
      std::memset(first + x * factor, valueOf(source[x]), factor);
    for (int copy = 1; copy < factor; ++copy)
      std::memcpy(first + static_cast<std::ptrdiff_t>(copy) * pitch, first, width);
  }
}

}  // namespace

StudioColour studioColourOf(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  const double r = red / 255.0, g = green / 255.0, b = blue / 255.0;
  const double luma = redWeight * r + greenWeight * g + blueWeight * b;
  const double blueDifference = (b - luma) / (2 * (1 - blueWeight));
  const double redDifference = (r - luma) / (2 * (1 - redWeight));
  return {studioLevel(16 + 219 * luma, 16, 235), studioLevel(128 + 224 * blueDifference, 16, 240),
          studioLevel(128 + 224 * redDifference, 16, 240)};
}

void writeStudioBlocks(const compat::IndexedFrame& frame, const compat::Palette& palette,
                       int factor, const PlanarPicture& out) {
  const std::array<StudioColour, 256> table = studioTable(palette);
  writeBlocks(frame, factor, out.planes[0], out.pitches[0],
              [&](std::uint8_t index) { return table[index].luma; });
  writeBlocks(frame, factor / 2, out.planes[1], out.pitches[1],
              [&](std::uint8_t index) { return table[index].blue; });
  writeBlocks(frame, factor / 2, out.planes[2], out.pitches[2],
              [&](std::uint8_t index) { return table[index].red; });
}

void writeBgr0(const compat::IndexedFrame& frame, const compat::Palette& palette, std::uint8_t* out,
               int pitch) {
  for (int y = 0; y < frame.height; ++y) {
    const std::uint8_t* source = rowOf(frame, y);
    std::uint8_t* row = out + static_cast<std::ptrdiff_t>(y) * pitch;
    for (int x = 0; x < frame.width; ++x) {
      const compat::PaletteColour& colour = palette[source[x]];
      row[4 * x] = colour.blue;
      row[4 * x + 1] = colour.green;
      row[4 * x + 2] = colour.red;
      row[4 * x + 3] = 0;
    }
  }
}

}  // namespace video
