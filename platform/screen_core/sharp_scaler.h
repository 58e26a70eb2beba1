// The sharp look drawn on the processor: an RGBA picture scaled into a rectangle of any size as
// the GPU presenter's sharp shader draws it: by area coverage where the rectangle is at least the
// picture's size (each picture pixel a solid block, its edges blended over at most one screen
// pixel), two neighbouring picture pixels mixed by the nearest edge's share where it is smaller,
// and at whole factors the integer look's plain copy. The web screen draws the plain looks so
// where WebGL runs on the processor itself (SwiftShader, llvmpipe): a browser then reads every
// WebGL frame back before compositing it, which costs several times what a 2D canvas of the
// same pixels does.
//
// The mapping is separable, so it is computed once for each screen column and row when the
// sizes change, and each frame does only the blends: each screen row is a copy of one picture
// row scaled across or the blend of two. Screen rows go down the picture, so two rows scaled
// across are all that is held, each picture row scaled once.
//
// The same scaler draws the integer look at any size by nearest sampling (the picture pixel
// under each screen pixel's centre, as the GPU's nearest sampler does), which at whole factors
// is the same copy. Each byte of a word is a channel of its own, so the words may be in any
// four-byte format: RGBA for a canvas, a window's own format on the desktop.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/screen_core/scaled_part.h"

namespace compat {

class SharpScaler {
 public:
  // The largest rectangle scaled here into packed rows, in pixels: a screen of 4096 x 4096. A
  // larger one is refused (the caller draws it some other way) rather than held in memory each
  // frame.
  static constexpr std::int64_t maxArea = 4096 * 4096;
  // The longest side of a rectangle scaled into a part: a 16K screen's.
  static constexpr int maxSide = 16384;

  enum class Sampling { sharp, nearest };

  // `picture`: `pictureWidth` x `pictureHeight` words, rows packed. `out`: `width` x `height`
  // words, rows packed. False, writing nothing, for a size that is not positive or a rectangle
  // over maxArea.
  bool scale(const std::uint32_t* picture, int pictureWidth, int pictureHeight, int width,
             int height, std::uint32_t* out);
  // The part of the `width` x `height` rectangle that `part` names, written where it says, in
  // either sampling. False, writing nothing, for a size that is not positive, a side over
  // maxSide or a part that is not valid (validPart).
  bool scalePart(const std::uint32_t* picture, int pictureWidth, int pictureHeight, int width,
                 int height, Sampling sampling, const ScaledPart& part);

 private:
  // One screen pixel along an axis: the picture pixel before the edge it may straddle, and the
  // share (0 to 256) of the one after it.
  struct Tap {
    int first;
    int share;
  };
  static void mapAxis(int texels, int pixels, Sampling sampling, std::vector<Tap>& taps);
  // The work of scale and scalePart, each having checked its own bound on the rectangle's
  // size: false for the refusals they share (sizes, the part).
  bool draw(const std::uint32_t* picture, int pictureWidth, int pictureHeight, int width,
            int height, Sampling sampling, const ScaledPart& part);
  // Columns [left, right) of picture row `row` scaled across, kept in the slot of its parity (a
  // row and the next are never in the same one), from the slot's first word on.
  const std::uint32_t* across(const std::uint32_t* picture, int row, int left, int right);

  Sampling sampling_ = Sampling::sharp;
  int pictureWidth_ = 0, pictureHeight_ = 0, width_ = 0, height_ = 0;
  std::vector<Tap> columns_, rows_;
  std::vector<std::uint32_t> across_;  // two rows of the part's width
  int acrossRows_[2] = {-1, -1};       // the picture row in each, -1 for none
};

}  // namespace compat
