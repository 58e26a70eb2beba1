#include "platform/screen_core/crt_scaler.h"

#include "platform/screen_core/byte_blend.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <map>
#include <tuple>

namespace compat {
namespace {

// The look's constants, as the shaders have them.
constexpr float narrowest = 0.5f;  // a beam line's width in beam lines, dark
constexpr float widest = 0.9f;     // and at full brightness
constexpr float glowShare = 0.06f;
constexpr float maskDepth = 0.2f;
// The glow's texels each hold a 4 x 4 block of the picture.
constexpr int glowReduction = 4;

inline float stored(std::uint8_t value) { return static_cast<float>(value) * (1.0f / 255.0f); }
inline float light(float storedValue) { return storedValue * storedValue; }
// A value that is never negative (a square root, a product of such) as an 8-bit channel holds
// it: 1 and more the brightest, rounded to the nearest level, as a GL writes it.
inline std::uint8_t toLevel(float value) {
  return static_cast<std::uint8_t>(static_cast<int>(std::min(value, 1.0f) * 255.0f + 0.5f));
}
inline float mix(float a, float b, float share) { return a * (1.0f - share) + b * share; }

inline Floats4 mix(Floats4 a, Floats4 b, float share) { return a * (1.0f - share) + b * share; }

// light(stored(value)) for each stored value: the glow reads it sixteen times a texel.
struct LightOfValue {
  LightOfValue() {
    for (int value = 0; value < 256; ++value)
      of[value] = light(stored(static_cast<std::uint8_t>(value)));
  }
  float of[256];
};
const LightOfValue lightOfValue;

// The 8-bit level of a light (the stored value's square), rounded as toLevel(sqrt(light)) is:
// a square root and a conversion at every channel of every beam otherwise. The lights from
// 2^-20 (under half the first level) to 1 fall into buckets by their exponent and first seven
// bits of mantissa; a bucket spans under a level, so it holds its first light's level and the
// light where the next begins.
class LevelOfLight {
 public:
  LevelOfLight() {
    for (int i = 0; i < count; ++i) {
      const std::uint32_t bits = (std::uint32_t{firstExponent} << 23) + (std::uint32_t(i) << 16);
      float first;
      std::memcpy(&first, &bits, sizeof first);
      const int level = static_cast<int>(std::sqrt(double{first}) * 255.0 + 0.5);
      const double rise = (level + 0.5) / 255.0;
      buckets_[i] = {static_cast<float>(rise * rise), level};
    }
    // 1 itself: the brightest level, never passed.
    buckets_[count] = {std::numeric_limits<float>::infinity(), 255};
  }
  // The levels of a beam's three channels, as a word's first three bytes: the buckets found
  // for all four lanes at once (a light of 1 or more, or not a number, held at 1, whose bucket
  // is the last).
  std::uint32_t threeLevels(Floats4 lights) const {
    using Ints4 = std::int32_t __attribute__((vector_size(16)));
    lights = lights < 1.0f ? lights : Floats4{} + 1.0f;
    Ints4 bits;
    std::memcpy(&bits, &lights, sizeof bits);
    Ints4 i = (bits >> 16) - (firstExponent << 7);
    i = i > 0 ? i : Ints4{};
    const auto level = [&](int c) {
      const Bucket bucket = buckets_[i[c]];
      return static_cast<std::uint32_t>(bucket.level + (lights[c] >= bucket.rise ? 1 : 0));
    };
    return level(0) | level(1) << 8 | level(2) << 16;
  }

 private:
  static constexpr int firstExponent = 127 - 20;
  static constexpr int count = 20 << 7;
  struct Bucket {
    float rise;
    int level;
  };
  Bucket buckets_[count + 1];
};

const LevelOfLight levelOfLight;

// The mask on the stored values, by how much of it shows (the beams' fourth byte): each value
// raised and lowered by half the mask's depth times that, both in one read (raised in the low
// byte, lowered in the high one).
struct MaskTables {
  std::uint16_t upDown[256][256];
};

const MaskTables& maskTables() {
  static const MaskTables tables = [] {
    MaskTables made{};
    for (int shows = 0; shows < 256; ++shows) {
      const float swing = 0.5f * maskDepth * stored(static_cast<std::uint8_t>(shows));
      for (int value = 0; value < 256; ++value) {
        const float v = stored(static_cast<std::uint8_t>(value));
        made.upDown[shows][value] = static_cast<std::uint16_t>(toLevel(v * (1.0f + swing)) |
                                                               toLevel(v * (1.0f - swing)) << 8);
      }
    }
    return made;
  }();
  return tables;
}

// A beam's colour through the mask on an even screen column (the first and third channels
// raised, the second lowered) and on an odd one (the other way): the three pairs of levels.
struct MaskedPairs {
  std::uint32_t red, green, blue;
  std::uint32_t even() const {
    return (red & 0xFF) | (green >> 8) << 8 | (blue & 0xFF) << 16 | 0xFF000000u;
  }
  std::uint32_t odd() const {
    return red >> 8 | (green & 0xFF) << 8 | (blue >> 8) << 16 | 0xFF000000u;
  }
};
inline MaskedPairs maskedPairs(const MaskTables& tables, std::uint32_t beam) {
  const std::uint16_t* upDown = tables.upDown[beam >> 24];
  return {upDown[beam & 0xFF], upDown[(beam >> 8) & 0xFF], upDown[(beam >> 16) & 0xFF]};
}

// The beam profile's integral from 0 to x, odd, 1/2 beyond 1 (see the CRT shaders).
float halfIntegral(float x) {
  const float t = std::min(std::abs(x), 1.0f);
  const float value = t * (1.0f - t * t * (1.0f - 0.5f * t));
  return x < 0.0f ? -value : value;
}

// The mean of a beam `width` wide over a pixel's height [d - h, d + h], in beam lines.
float beamMean(float width, float d, float h) {
  const float inverse = 1.0f / width;
  return (halfIntegral((d + h) * inverse) - halfIntegral((d - h) * inverse)) / (2.0f * h);
}

}  // namespace

void CrtScaler::layOut(int pictureWidth, int pictureHeight, int width, int height) {
  pictureWidth_ = pictureWidth;
  pictureHeight_ = pictureHeight;
  width_ = width;
  height_ = height;
  beam_ = crtBeam({0, 0, width, height}, pictureHeight);
  glowWidth_ = (pictureWidth + glowReduction - 1) / glowReduction;
  glowHeight_ = (pictureHeight + glowReduction - 1) / glowReduction;

  // Each screen line's place among the beam lines, as the first shader works it out.
  const float texelsY = static_cast<float>(pictureHeight);
  const float lines = texelsY * beam_.linesPerRow;
  const float h = beam_.halfScreenLine, depth = beam_.depth;
  const float keep = 1.0f - glowShare * depth;  // what the glow leaves of the beams' light
  std::map<std::tuple<float, float, bool, bool>, int> tableOf;
  lines_.resize(static_cast<std::size_t>(height));
  tables_.clear();
  for (int y = 0; y < height; ++y) {
    const float atY = (static_cast<float>(y) + 0.5f) / static_cast<float>(height) * texelsY;
    const float b = atY * beam_.linesPerRow + beam_.phase;
    const float line = std::floor(b);
    const float d = b - line - 0.5f;
    const float side = d < 0.0f ? -1.0f : 1.0f;
    const float other = line + side;
    const bool hereRuns = line >= 0.0f && line < lines;
    const bool thereRuns = other >= 0.0f && other < lines;
    Line& at = lines_[static_cast<std::size_t>(y)];
    at.here = static_cast<int>(std::clamp(line, 0.0f, lines - 1.0f) / beam_.linesPerRow);
    at.there = static_cast<int>(std::clamp(other, 0.0f, lines - 1.0f) / beam_.linesPerRow);
    // The glow is read between its texels' centres, its edges held.
    const float glowY = atY / glowReduction - 0.5f;
    const float above = std::floor(glowY);
    at.glowShare = glowY - above;
    at.glowAbove = std::clamp(static_cast<int>(above), 0, glowHeight_ - 1);
    at.glowBelow = std::clamp(static_cast<int>(above) + 1, 0, glowHeight_ - 1);

    const auto [found, added] =
        tableOf.try_emplace({d, side, hereRuns, thereRuns}, static_cast<int>(tableOf.size()));
    at.table = found->second;
    if (!added) continue;
    // What each stored value of a channel gives in light on this line: as the nearer beam
    // line's value (here) and as the other's (there). The light of a pixel is their sum and
    // the glow's: the lines mixed with the plain picture by the depth, then with the glow.
    const float cover = std::clamp((std::abs(d) - 0.5f) / (2.0f * h) + 0.5f, 0.0f, 1.0f);
    tables_.resize(tables_.size() + 512);
    float* table = tables_.data() + tables_.size() - 512;
    for (int value = 0; value < 256; ++value) {
      const float l = light(stored(static_cast<std::uint8_t>(value)));
      const float beamWidth = mix(narrowest, widest, l);
      const float hereBeam = hereRuns ? l * beamMean(beamWidth, d, h) : 0.0f;
      const float thereBeam = thereRuns ? l * beamMean(beamWidth, d - side, h) : 0.0f;
      table[value] = keep * ((1.0f - depth) * (1.0f - cover) * l + depth * hereBeam);
      table[256 + value] = keep * ((1.0f - depth) * cover * l + depth * thereBeam);
    }
  }

  // Each picture column's place between the glow's columns.
  glowTaps_.resize(static_cast<std::size_t>(pictureWidth));
  for (int x = 0; x < pictureWidth; ++x) {
    const float glowX = (static_cast<float>(x) + 0.5f) / glowReduction - 0.5f;
    const float left = std::floor(glowX);
    glowTaps_[static_cast<std::size_t>(x)] = {
        std::clamp(static_cast<int>(left), 0, glowWidth_ - 1),
        std::clamp(static_cast<int>(left) + 1, 0, glowWidth_ - 1), glowX - left};
  }

  // Each screen column as the second shader reads the beams: the sharp look's edges.
  const float texelsX = static_cast<float>(pictureWidth);
  const float s = static_cast<float>(width) / texelsX;
  columns_.resize(static_cast<std::size_t>(width));
  edges_.clear();
  runs_.clear();
  for (int x = 0; x < width; ++x) {
    const float t = (static_cast<float>(x) + 0.5f) / static_cast<float>(width) * texelsX;
    const float k = std::floor(t + 0.5f);
    const int edge = static_cast<int>(k);
    Column& column = columns_[static_cast<std::size_t>(x)];
    column.left = std::clamp(edge - 1, 0, pictureWidth - 1);
    column.right = std::min(edge, pictureWidth - 1);
    column.share = static_cast<int>(std::lround(std::clamp((t - k) * s + 0.5f, 0.0f, 1.0f) * 256));
    // Wholly the second column: that column alone.
    if (column.share == 256) column.left = column.right, column.share = 0;
    if (column.left == column.right) column.share = 0;
    if (column.share != 0)
      edges_.push_back(x);
    else if (!runs_.empty() && runs_.back().to == x && runs_.back().column == column.left)
      ++runs_.back().to;
    else
      runs_.push_back({x, x + 1, column.left});
  }
}

void CrtScaler::makeGlow(const std::uint32_t* picture) {
  // The mean light of each 4 x 4 block (clamped at the picture's edges), then a binomial blur of
  // five texels along each axis, in light; each stage stored as eight bits a channel, as the
  // GL's textures hold them.
  const int gw = glowWidth_, gh = glowHeight_;
  glow_.resize(static_cast<std::size_t>(gw) * gh * 3);
  glowBlurred_.resize(glow_.size());
  const auto channel = [&](int x, int y, int c) {
    const std::uint32_t word = picture[static_cast<std::size_t>(y) * pictureWidth_ + x];
    return static_cast<std::uint8_t>(word >> (8 * c));
  };
  for (int gy = 0; gy < gh; ++gy)
    for (int gx = 0; gx < gw; ++gx)
      for (int c = 0; c < 3; ++c) {
        float sum = 0.0f;
        for (int y = 0; y < glowReduction; ++y)
          for (int x = 0; x < glowReduction; ++x)
            sum +=
                lightOfValue.of[channel(std::min(gx * glowReduction + x, pictureWidth_ - 1),
                                        std::min(gy * glowReduction + y, pictureHeight_ - 1), c)];
        glow_[(static_cast<std::size_t>(gy) * gw + gx) * 3 + c] = toLevel(std::sqrt(sum / 16.0f));
      }
  const float weights[5] = {1.0f, 4.0f, 6.0f, 4.0f, 1.0f};
  const auto blur = [&](const std::vector<std::uint8_t>& from, std::vector<std::uint8_t>& to,
                        int dx, int dy) {
    for (int gy = 0; gy < gh; ++gy)
      for (int gx = 0; gx < gw; ++gx)
        for (int c = 0; c < 3; ++c) {
          float sum = 0.0f;
          for (int i = 0; i < 5; ++i) {
            const int x = std::clamp(gx + dx * (i - 2), 0, gw - 1);
            const int y = std::clamp(gy + dy * (i - 2), 0, gh - 1);
            sum +=
                weights[i] * lightOfValue.of[from[(static_cast<std::size_t>(y) * gw + x) * 3 + c]];
          }
          to[(static_cast<std::size_t>(gy) * gw + gx) * 3 + c] = toLevel(std::sqrt(sum / 16.0f));
        }
  };
  blur(glow_, glowBlurred_, 1, 0);
  blur(glowBlurred_, glow_, 0, 1);
}

void CrtScaler::drawBeams(const std::uint32_t* picture, int y) {
  const Line& line = lines_[static_cast<std::size_t>(y)];
  const float* hereLight = tables_.data() + static_cast<std::size_t>(line.table) * 512;
  const float* thereLight = hereLight + 256;
  const float depth = beam_.depth;
  const float glowPart = glowShare * depth;

  // The glow on this line: its two rows mixed, then each picture column's spot between the
  // glow's columns (a glow texel is four picture columns), in light.
  const int gw = glowWidth_;
  const std::uint8_t* above = glow_.data() + static_cast<std::size_t>(line.glowAbove) * gw * 3;
  const std::uint8_t* below = glow_.data() + static_cast<std::size_t>(line.glowBelow) * gw * 3;
  glowColumn_.resize(static_cast<std::size_t>(gw));
  for (int x = 0; x < gw; ++x, above += 3, below += 3)
    glowColumn_[static_cast<std::size_t>(x)] =
        mix(Floats4{stored(above[0]), stored(above[1]), stored(above[2]), 0.0f},
            Floats4{stored(below[0]), stored(below[1]), stored(below[2]), 0.0f}, line.glowShare);

  const auto* here = reinterpret_cast<const std::uint8_t*>(
      picture + static_cast<std::size_t>(line.here) * static_cast<std::size_t>(pictureWidth_));
  const auto* there = reinterpret_cast<const std::uint8_t*>(
      picture + static_cast<std::size_t>(line.there) * static_cast<std::size_t>(pictureWidth_));
  beams_.resize(static_cast<std::size_t>(pictureWidth_));
  std::uint32_t* out = beams_.data();
  const Floats4* glow = glowColumn_.data();
  for (int x = 0; x < pictureWidth_; ++x, here += 4, there += 4, ++out) {
    const GlowTap tap = glowTaps_[static_cast<std::size_t>(x)];
    const Floats4 beams =
        Floats4{hereLight[here[0]], hereLight[here[1]], hereLight[here[2]], 0.0f} +
        Floats4{thereLight[there[0]], thereLight[there[1]], thereLight[there[2]], 0.0f};
    const Floats4 glowHere = mix(glow[tap.first], glow[tap.second], tap.share);
    const Floats4 lit = beams + glowPart * (glowHere * glowHere);
    const float brightest = std::max(lit[0], std::max(lit[1], lit[2]));
    // How far the mask may raise this light without clipping, as a share of its depth: all of
    // it up to 1 / (1 + maskDepth).
    float room = 1.0f;
    if (brightest * (1.0f + maskDepth) > 1.0f)
      room = std::clamp((1.0f - brightest) / (maskDepth * brightest), 0.25f, 1.0f);
    *out = levelOfLight.threeLevels(lit) | std::uint32_t{toLevel(room * depth)} << 24;
  }
}

void CrtScaler::drawLine(int maskPhase, int left, int right, std::uint32_t* to) {
  // The aperture grille at the screen's columns: the first and third channels raised and the
  // second lowered on even columns, the other way on odd ones.
  const MaskTables& tables = maskTables();
  masked_.resize(static_cast<std::size_t>(pictureWidth_) * 2);
  for (int x = 0; x < pictureWidth_; ++x) {
    const MaskedPairs pairs = maskedPairs(tables, beams_[static_cast<std::size_t>(x)]);
    masked_[static_cast<std::size_t>(x) * 2] = pairs.even();
    masked_[static_cast<std::size_t>(x) * 2 + 1] = pairs.odd();
  }
  // The columns wholly in one picture column: that column's two masked colours in turn. Then
  // the columns that straddle two picture columns, blended and masked.
  for (auto run = std::upper_bound(runs_.begin(), runs_.end(), left,
                                   [](int x, const Run&r) { return x < r.to; });
       run != runs_.end() && run->from < right; ++run) {
    const int from = std::max(run->from, left), end = std::min(run->to, right);
    const std::uint32_t* pair = masked_.data() + static_cast<std::size_t>(run->column) * 2;
    const std::uint32_t first = pair[(from + maskPhase) & 1],
                        second = pair[(from + maskPhase + 1) & 1];
    std::uint32_t* out = to + (from - left);
    int x = from;
    for (; x + 1 < end; x += 2, out += 2) out[0] = first, out[1] = second;
    if (x < end) *out = first;
  }
  for (auto edge = std::lower_bound(edges_.begin(), edges_.end(), left);
       edge != edges_.end() && *edge < right; ++edge) {
    const int x = *edge;
    const Column column = columns_[static_cast<std::size_t>(x)];
    const MaskedPairs pairs =
        maskedPairs(tables, blendBytes(beams_[static_cast<std::size_t>(column.left)],
                                       beams_[static_cast<std::size_t>(column.right)],
                                       static_cast<std::uint32_t>(column.share)));
    to[x - left] = ((maskPhase + x) & 1) == 0 ? pairs.even() : pairs.odd();
  }
}

bool CrtScaler::draws(int width, int height, int pictureHeight) {
  return width > 0 && height > 0 && width <= maxSide && height <= maxSide && pictureHeight > 0 &&
         crtBeam({0, 0, width, height}, pictureHeight).depth > 0.0f;
}

bool CrtScaler::scalePart(const std::uint32_t* picture, int pictureWidth, int pictureHeight,
                          int width, int height, int maskPhase, const ScaledPart& part) {
  if (picture == nullptr || pictureWidth <= 0 || !draws(width, height, pictureHeight) ||
      !validPart(part, width, height))
    return false;
  if (pictureWidth != pictureWidth_ || pictureHeight != pictureHeight_ || width != width_ ||
      height != height_)
    layOut(pictureWidth, pictureHeight, width, height);
  makeGlow(picture);
  for (int y = part.top; y < part.bottom; ++y) {
    drawBeams(picture, y);
    drawLine(maskPhase & 1, part.left, part.right, part.to + (y - part.top) * part.pitch);
  }
  return true;
}

}  // namespace compat
