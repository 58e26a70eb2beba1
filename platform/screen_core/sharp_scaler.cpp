#include "platform/screen_core/sharp_scaler.h"

#include "platform/screen_core/byte_blend.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace compat {

// With s screen pixels to a picture pixel, screen pixel i has its centre at t = (i + 1/2) / s
// picture pixels and covers t +- 1/2s. Of the picture edge nearest t, k, the share beyond it is
// clamp((t - k) s + 1/2, 0, 1): 0 or 1 unless the pixel straddles k. The pixel is then picture
// pixels k - 1 and k mixed by that share (the GPU's linear filter at k - 1/2 + share), those
// beyond the picture's ends being its end pixels. Nearest, it is the picture pixel t lies in.
void SharpScaler::mapAxis(int texels, int pixels, Sampling sampling, std::vector<Tap>& taps) {
  taps.resize(static_cast<std::size_t>(pixels));
  const double s = static_cast<double>(pixels) / texels;
  for (int i = 0; i < pixels; ++i) {
    const double t = (i + 0.5) / s;
    if (sampling == Sampling::nearest) {
      taps[static_cast<std::size_t>(i)] = {std::min(static_cast<int>(t), texels - 1), 0};
      continue;
    }
    const double k = std::floor(t + 0.5);
    const double share = std::clamp((t - k) * s + 0.5, 0.0, 1.0);
    int first = static_cast<int>(k) - 1;
    int weight = static_cast<int>(std::lround(share * 256));
    // A whole share of the next pixel is that pixel alone; each tap then reads its first pixel
    // and, only where the share is between, the one after it.
    if (weight == 256) {
      ++first;
      weight = 0;
    }
    if (first < 0) first = 0, weight = 0;
    if (first >= texels - 1) first = texels - 1, weight = 0;
    taps[static_cast<std::size_t>(i)] = {first, weight};
  }
}

const std::uint32_t* SharpScaler::across(const std::uint32_t* picture, int row, int left,
                                         int right) {
  std::uint32_t* to = across_.data() + static_cast<std::size_t>(row & 1) * (across_.size() / 2);
  if (acrossRows_[row & 1] == row) return to;
  acrossRows_[row & 1] = row;
  const std::uint32_t* from = picture + static_cast<std::size_t>(row) * pictureWidth_;
  for (int x = left; x < right; ++x) {
    const Tap tap = columns_[static_cast<std::size_t>(x)];
    *to++ = tap.share == 0 ? from[tap.first]
                           : blendBytes(from[tap.first], from[tap.first + 1],
                                        static_cast<std::uint32_t>(tap.share));
  }
  return to - (right - left);
}

bool SharpScaler::scale(const std::uint32_t* picture, int pictureWidth, int pictureHeight,
                        int width, int height, std::uint32_t* out) {
  // Bounded by the area alone: a side may be longer than a part's (a wide, short rectangle).
  if (width <= 0 || height <= 0 || std::int64_t{width} * height > maxArea) return false;
  return draw(picture, pictureWidth, pictureHeight, width, height, Sampling::sharp,
              wholeRectangle(width, height, out));
}

bool SharpScaler::scalePart(const std::uint32_t* picture, int pictureWidth, int pictureHeight,
                            int width, int height, Sampling sampling, const ScaledPart& part) {
  if (width > maxSide || height > maxSide) return false;
  return draw(picture, pictureWidth, pictureHeight, width, height, sampling, part);
}

bool SharpScaler::draw(const std::uint32_t* picture, int pictureWidth, int pictureHeight, int width,
                       int height, Sampling sampling, const ScaledPart& part) {
  if (picture == nullptr || pictureWidth <= 0 || pictureHeight <= 0 || width <= 0 || height <= 0 ||
      !validPart(part, width, height))
    return false;
  if (sampling != sampling_) pictureWidth_ = pictureHeight_ = 0;  // new taps both ways
  sampling_ = sampling;
  if (pictureWidth != pictureWidth_ || width != width_) {
    mapAxis(pictureWidth, width, sampling, columns_);
    pictureWidth_ = pictureWidth;
    width_ = width;
  }
  if (pictureHeight != pictureHeight_ || height != height_) {
    mapAxis(pictureHeight, height, sampling, rows_);
    pictureHeight_ = pictureHeight;
    height_ = height;
  }
  const auto w = static_cast<std::size_t>(part.right - part.left);
  across_.resize(2 * w);
  acrossRows_[0] = acrossRows_[1] = -1;  // a new picture each call
  for (int y = part.top; y < part.bottom; ++y) {
    std::uint32_t* to = part.to + (y - part.top) * part.pitch;
    const Tap tap = rows_[static_cast<std::size_t>(y)];
    const std::uint32_t* above = across(picture, tap.first, part.left, part.right);
    if (tap.share == 0) {
      std::memcpy(to, above, w * sizeof *to);
      continue;
    }
    const std::uint32_t* below = across(picture, tap.first + 1, part.left, part.right);
    for (std::size_t x = 0; x < w; ++x)
      to[x] = blendBytes(above[x], below[x], static_cast<std::uint32_t>(tap.share));
  }
  return true;
}

}  // namespace compat
