#include "tools/texture/texture_fit.h"

#include <algorithm>
#include <cmath>

namespace texture {
namespace {

// The source pixels one output pixel covers along an axis, and the share of each.
struct Span {
  int first;
  std::vector<float> weights;  // summing to 1
};

// Output pixel i covers [i * length / side, (i + 1) * length / side) of the source: whole
// source pixels inside it count fully, the two at its ends by the part inside.
std::vector<Span> coverage(int length, int side) {
  std::vector<Span> spans(side);
  const double step = static_cast<double>(length) / side;
  for (int i = 0; i < side; ++i) {
    const double start = i * step, end = (i + 1) * step;
    const int first = static_cast<int>(start);
    const int last = std::min(length - 1, static_cast<int>(std::ceil(end)) - 1);
    spans[i].first = first;
    for (int k = first; k <= last; ++k) {
      const double inside = std::min(end, k + 1.0) - std::max(start, static_cast<double>(k));
      spans[i].weights.push_back(static_cast<float>(inside / step));
    }
  }
  return spans;
}

}  // namespace

std::optional<std::string> pictureSizeProblem(std::int64_t width, std::int64_t height) {
  if (width < 1 || height < 1)
    return "a picture of " + std::to_string(width) + " x " + std::to_string(height) +
           " pixels has nothing in it";
  // Each side first, so that the product cannot wrap around.
  if (static_cast<std::uint64_t>(width) > maxPicturePixels ||
      static_cast<std::uint64_t>(height) > maxPicturePixels ||
      static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) > maxPicturePixels)
    return std::to_string(width) + " x " + std::to_string(height) + " pixels is more than the " +
           std::to_string(maxPicturePixels >> 20) + " million pixels (8192 x 8192) taken";
  return std::nullopt;
}

std::vector<Rgb> fitToTexture(std::span<const std::uint8_t> rgba, int width, int height) {
  const int square = std::min(width, height);
  const int left = (width - square) / 2, top = (height - square) / 2;
  const std::vector<Span> spans = coverage(square, textureSide);

  // Across first: each row of the square becomes textureSide pixels of premultiplied linear
  // light, then down the columns.
  std::vector<LinearRgb> rows(static_cast<std::size_t>(square) * textureSide);
  for (int y = 0; y < square; ++y) {
    const std::uint8_t* row = rgba.data() + (static_cast<std::size_t>(top + y) * width + left) * 4;
    for (int x = 0; x < textureSide; ++x) {
      LinearRgb sum{0, 0, 0};
      const Span& span = spans[x];
      for (std::size_t k = 0; k < span.weights.size(); ++k) {
        const std::uint8_t* pixel = row + (span.first + k) * 4;
        const float weight = span.weights[k] * (pixel[3] / 255.0f);
        sum.red += weight * linearFromByte(pixel[0]);
        sum.green += weight * linearFromByte(pixel[1]);
        sum.blue += weight * linearFromByte(pixel[2]);
      }
      rows[static_cast<std::size_t>(y) * textureSide + x] = sum;
    }
  }
  std::vector<Rgb> tile(textureSide * textureSide);
  for (int y = 0; y < textureSide; ++y) {
    const Span& span = spans[y];
    for (int x = 0; x < textureSide; ++x) {
      LinearRgb sum{0, 0, 0};
      for (std::size_t k = 0; k < span.weights.size(); ++k) {
        const LinearRgb& part = rows[(span.first + k) * textureSide + x];
        sum.red += span.weights[k] * part.red;
        sum.green += span.weights[k] * part.green;
        sum.blue += span.weights[k] * part.blue;
      }
      tile[y * textureSide + x] = rgbFromLinear(sum);
    }
  }
  return tile;
}

}  // namespace texture
