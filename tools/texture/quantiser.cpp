#include "tools/texture/quantiser.h"

#include <algorithm>
#include <array>
#include <limits>

namespace texture {
namespace {

constexpr int kMeansPasses = 8;

std::uint32_t packed(Rgb c) {
  return static_cast<std::uint32_t>(c.red) << 16 | static_cast<std::uint32_t>(c.green) << 8 |
         c.blue;
}

Rgb unpacked(std::uint32_t value) {
  return {static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 8),
          static_cast<std::uint8_t>(value)};
}

// The picture's distinct colours, sorted, each with its number of pixels.
struct Histogram {
  std::vector<std::uint32_t> colours;
  std::vector<double> counts;

  std::size_t indexOf(Rgb colour) const {
    return std::lower_bound(colours.begin(), colours.end(), packed(colour)) - colours.begin();
  }
};

Histogram histogramOf(std::span<const Rgb> pixels) {
  std::vector<std::uint32_t> all(pixels.size());
  std::transform(pixels.begin(), pixels.end(), all.begin(), packed);
  std::sort(all.begin(), all.end());
  Histogram histogram;
  for (std::size_t i = 0; i < all.size();) {
    std::size_t j = i;
    while (j < all.size() && all[j] == all[i]) ++j;
    histogram.colours.push_back(all[i]);
    histogram.counts.push_back(static_cast<double>(j - i));
    i = j;
  }
  return histogram;
}

struct WeightedColour {
  std::array<double, 3> lab;
  double weight;
  std::uint32_t colour;  // its sRGB bytes: orders equal coordinates the same everywhere
};

// Weighted sums over a set of colours: enough for its mean and its sum of squared distances
// to that mean.
struct Moments {
  double weight = 0;
  std::array<double, 3> sum{}, squares{};

  void add(const WeightedColour& c) {
    weight += c.weight;
    for (int axis = 0; axis < 3; ++axis) {
      sum[axis] += c.weight * c.lab[axis];
      squares[axis] += c.weight * c.lab[axis] * c.lab[axis];
    }
  }
  double spread(int axis) const {
    return weight > 0 ? std::max(0.0, squares[axis] - sum[axis] * sum[axis] / weight) : 0;
  }
  double spread() const { return spread(0) + spread(1) + spread(2); }
  Moments minus(const Moments& part) const {
    Moments rest = *this;
    rest.weight -= part.weight;
    for (int axis = 0; axis < 3; ++axis) {
      rest.sum[axis] -= part.sum[axis];
      rest.squares[axis] -= part.squares[axis];
    }
    return rest;
  }
};

struct Box {
  std::size_t begin, end;  // a range of the colours
  Moments moments;
};

Moments momentsOf(std::span<const WeightedColour> colours) {
  Moments moments;
  for (const WeightedColour& c : colours) moments.add(c);
  return moments;
}

// Cuts `box` across its widest axis where the two parts' spreads add up to the least; returns
// the second part and leaves the first in `box`.
Box split(std::vector<WeightedColour>& colours, Box& box) {
  int axis = 0;
  for (int a = 1; a < 3; ++a)
    if (box.moments.spread(a) > box.moments.spread(axis)) axis = a;
  const auto first = colours.begin() + box.begin, last = colours.begin() + box.end;
  std::sort(first, last, [axis](const WeightedColour& p, const WeightedColour& q) {
    return p.lab[axis] != q.lab[axis] ? p.lab[axis] < q.lab[axis] : p.colour < q.colour;
  });
  Moments left;
  double best = std::numeric_limits<double>::infinity();
  std::size_t cut = box.begin + 1;
  Moments bestLeft;
  for (std::size_t i = box.begin; i + 1 < box.end; ++i) {
    left.add(colours[i]);
    const double total = left.spread() + box.moments.minus(left).spread();
    if (total < best) {
      best = total;
      cut = i + 1;
      bestLeft = left;
    }
  }
  Box second{cut, box.end, box.moments.minus(bestLeft)};
  box = {box.begin, cut, bestLeft};
  return second;
}

std::vector<std::array<double, 3>> medianCut(std::vector<WeightedColour>& colours) {
  std::vector<Box> boxes{{0, colours.size(), momentsOf(colours)}};
  while (boxes.size() < paletteSize) {
    auto widest = std::max_element(boxes.begin(), boxes.end(), [](const Box& p, const Box& q) {
      const bool pSplits = p.end - p.begin > 1, qSplits = q.end - q.begin > 1;
      if (pSplits != qSplits) return qSplits;
      return p.moments.spread() < q.moments.spread();
    });
    if (widest->end - widest->begin < 2) break;
    boxes.push_back(split(colours, *widest));
  }
  std::vector<std::array<double, 3>> means;
  for (const Box& box : boxes) {
    const Moments& m = box.moments;
    means.push_back({m.sum[0] / m.weight, m.sum[1] / m.weight, m.sum[2] / m.weight});
  }
  return means;
}

double squaredDistance(const std::array<double, 3>& p, const std::array<double, 3>& q) {
  const double d0 = p[0] - q[0], d1 = p[1] - q[1], d2 = p[2] - q[2];
  return d0 * d0 + d1 * d1 + d2 * d2;
}

template <typename Point>
std::size_t nearest(const Point& point, std::span<const Point> centres) {
  std::size_t best = 0;
  auto bestDistance = squaredDistance(point, centres[0]);
  for (std::size_t i = 1; i < centres.size(); ++i) {
    const auto distance = squaredDistance(point, centres[i]);
    if (distance < bestDistance) {
      bestDistance = distance;
      best = i;
    }
  }
  return best;
}

// Lloyd's passes: each colour to its nearest centre, each centre to its members' mean, until
// nothing moves or the passes run out. A centre left without members stays where it is.
void refine(std::span<const WeightedColour> colours, std::vector<std::array<double, 3>>& centres) {
  std::vector<std::size_t> owner(colours.size(), centres.size());
  for (int pass = 0; pass < kMeansPasses; ++pass) {
    bool moved = false;
    std::vector<Moments> members(centres.size());
    for (std::size_t i = 0; i < colours.size(); ++i) {
      const std::size_t centre = nearest<std::array<double, 3>>(colours[i].lab, centres);
      moved = moved || centre != owner[i];
      owner[i] = centre;
      members[centre].add(colours[i]);
    }
    if (!moved) return;
    for (std::size_t c = 0; c < centres.size(); ++c)
      if (members[c].weight > 0)
        for (int axis = 0; axis < 3; ++axis)
          centres[c][axis] = members[c].sum[axis] / members[c].weight;
  }
}

std::vector<Rgb> chosenPalette(const Histogram& histogram) {
  std::vector<WeightedColour> colours;
  colours.reserve(histogram.colours.size());
  for (std::size_t i = 0; i < histogram.colours.size(); ++i) {
    const Oklab lab = oklabFromRgb(unpacked(histogram.colours[i]));
    colours.push_back({{lab.lightness, lab.a, lab.b}, histogram.counts[i], histogram.colours[i]});
  }
  std::vector<std::array<double, 3>> centres = medianCut(colours);
  refine(colours, centres);
  std::vector<Rgb> palette;
  for (const auto& centre : centres)
    palette.push_back(
        rgbFromLinear(linearFromOklab({static_cast<float>(centre[0]), static_cast<float>(centre[1]),
                                       static_cast<float>(centre[2])})));
  return palette;
}

std::vector<std::uint8_t> nearestColours(std::span<const Rgb> pixels, const Histogram& histogram,
                                         std::span<const Oklab> palette) {
  std::vector<std::uint8_t> choice(histogram.colours.size());
  for (std::size_t i = 0; i < choice.size(); ++i)
    choice[i] = static_cast<std::uint8_t>(
        nearest<Oklab>(oklabFromRgb(unpacked(histogram.colours[i])), palette));
  std::vector<std::uint8_t> indices(pixels.size());
  for (std::size_t p = 0; p < pixels.size(); ++p) indices[p] = choice[histogram.indexOf(pixels[p])];
  return indices;
}

// Floyd-Steinberg in linear light, serpentine: the error of each pixel goes 7/16 ahead, and
// 3/16, 5/16 and 1/16 to the row below. The wanted colour is clamped to the displayable range
// so that error cannot pile up where the palette cannot follow.
std::vector<std::uint8_t> ditheredColours(std::span<const Rgb> pixels, int width, int height,
                                          std::span<const Rgb> palette,
                                          std::span<const Oklab> paletteLab) {
  std::vector<LinearRgb> paletteLinear;
  for (Rgb colour : palette) paletteLinear.push_back(linearFromRgb(colour));
  std::vector<LinearRgb> here(width + 2), below(width + 2);
  std::vector<std::uint8_t> indices(pixels.size());
  for (int y = 0; y < height; ++y) {
    const bool forward = y % 2 == 0;
    const int step = forward ? 1 : -1;
    for (int i = 0; i < width; ++i) {
      const int x = forward ? i : width - 1 - i;
      const std::size_t p = static_cast<std::size_t>(y) * width + x;
      const LinearRgb source = linearFromRgb(pixels[p]);
      const LinearRgb& error = here[x + 1];
      const LinearRgb wanted{std::clamp(source.red + error.red, 0.0f, 1.0f),
                             std::clamp(source.green + error.green, 0.0f, 1.0f),
                             std::clamp(source.blue + error.blue, 0.0f, 1.0f)};
      const std::size_t index = nearest<Oklab>(oklabFromLinear(wanted), paletteLab);
      indices[p] = static_cast<std::uint8_t>(index);
      const LinearRgb miss{wanted.red - paletteLinear[index].red,
                           wanted.green - paletteLinear[index].green,
                           wanted.blue - paletteLinear[index].blue};
      auto spread = [&miss](LinearRgb& to, float share) {
        to.red += miss.red * share;
        to.green += miss.green * share;
        to.blue += miss.blue * share;
      };
      spread(here[x + 1 + step], 7 / 16.0f);
      spread(below[x + 1 - step], 3 / 16.0f);
      spread(below[x + 1], 5 / 16.0f);
      spread(below[x + 1 + step], 1 / 16.0f);
    }
    std::swap(here, below);
    std::fill(below.begin(), below.end(), LinearRgb{0, 0, 0});
  }
  return indices;
}

}  // namespace

IndexedPicture quantise(std::span<const Rgb> pixels, int width, int height, bool dither) {
  const Histogram histogram = histogramOf(pixels);
  IndexedPicture result;
  if (histogram.colours.size() <= paletteSize) {
    for (std::uint32_t colour : histogram.colours) result.palette.push_back(unpacked(colour));
    for (Rgb pixel : pixels)
      result.indices.push_back(static_cast<std::uint8_t>(histogram.indexOf(pixel)));
    return result;
  }
  result.palette = chosenPalette(histogram);
  std::vector<Oklab> paletteLab;
  for (Rgb colour : result.palette) paletteLab.push_back(oklabFromRgb(colour));
  result.indices = dither ? ditheredColours(pixels, width, height, result.palette, paletteLab)
                          : nearestColours(pixels, histogram, paletteLab);
  return result;
}

}  // namespace texture
