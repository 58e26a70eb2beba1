// The CRT look drawn on the processor, as the GPU presenter's CRT shaders draw it (the same
// arithmetic in the same order, in single precision; within a level or two of what a GL draws):
// for screens whose GL itself runs on the processor, where those shaders cost several times a
// plain copy at every pixel.
//
// The shaders' work splits by what it depends on, and each part is done where it changes:
// - per rectangle size: each screen line's beam geometry (the picture rows it lies between,
//   how far from their beams' centres) and, from it, what each of the 256 stored values of a
//   channel gives in light on that line, as two tables; lines of the same geometry share them;
//   each screen column's two picture columns and their shares;
// - per picture: the glow (a quarter of the picture's size, blurred);
// - per screen line: the beams of each picture column (two table reads and the glow a
//   channel), then each picture column's colour through the mask for even and odd screen
//   columns; the screen pixels are then copies of those, blended only where a pixel straddles
//   two picture columns.
// Each byte of a word is a channel, green the second: RGBA words for a canvas, or a window's
// own four-byte format (BGRX) on the desktop. The fourth byte is written opaque.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/screen_core/crt_beam.h"
#include "platform/screen_core/scaled_part.h"

namespace compat {

// Four floats processed together (in one register where the processor has them): a colour's
// three channels and an unused fourth, each through the same operations in the same order as
// alone, so with the same results.
using Floats4 = float __attribute__((vector_size(16)));

class CrtScaler {
 public:
  // The longest side of a rectangle drawn here: an 8K screen's lines, and as many columns.
  // Beyond, the caller draws the sharp look (as the GPU presenter does where its textures end).
  static constexpr int maxSide = 8192;

  // Whether a `width` x `height` rectangle of a picture `pictureHeight` rows tall has the CRT
  // look here: a size from 1 to maxSide each way, with room for the lines (crtBeam's depth
  // above 0). Otherwise the look is the sharp one, as the GPU presenter draws it.
  static bool draws(int width, int height, int pictureHeight);

  // Draws the part that `part` names of the picture's CRT look in a `width` x `height`
  // rectangle. `picture`: `pictureWidth` x `pictureHeight` words, rows packed. `maskPhase`: the
  // parity of the screen column the rectangle starts at (the mask's stripes follow the
  // screen's columns). False, writing nothing, for a size that is not positive or over maxSide,
  // an invalid part, or a rectangle draws() refuses.
  bool scalePart(const std::uint32_t* picture, int pictureWidth, int pictureHeight, int width,
                 int height, int maskPhase, const ScaledPart& part);

 private:
  // A screen line: the picture rows of its two nearest beam lines, its light tables, and the
  // glow's two rows around it with the lower one's share.
  struct Line {
    int here;
    int there;
    int table;  // tables_ from 512 * table: here's 256 values, then there's
    int glowAbove;
    int glowBelow;
    float glowShare;
  };
  // A screen column: the two picture columns it may straddle and the second's share in
  // 256ths, 0 inside one (left).
  struct Column {
    int left;
    int right;
    int share;
  };
  // A picture column's two glow columns and the second's share.
  struct GlowTap {
    int first;
    int second;
    float share;
  };

  void layOut(int pictureWidth, int pictureHeight, int width, int height);
  void makeGlow(const std::uint32_t* picture);
  // Screen line `y`'s beams into beams_: a word a picture column, its fourth byte how much
  // the mask shows there.
  void drawBeams(const std::uint32_t* picture, int y);
  void drawLine(int maskPhase, int left, int right, std::uint32_t* to);

  int pictureWidth_ = 0, pictureHeight_ = 0, width_ = 0, height_ = 0;
  CrtBeam beam_{};
  std::vector<Line> lines_;
  std::vector<float> tables_;
  std::vector<Column> columns_;
  std::vector<int> edges_;  // the columns that straddle two picture columns, in order
  // Screen columns [from, to) that each lie wholly in picture column `column`: the rest are
  // edges. In order.
  struct Run {
    int from;
    int to;
    int column;
  };
  std::vector<Run> runs_;
  int glowWidth_ = 0, glowHeight_ = 0;
  std::vector<std::uint8_t> glow_, glowBlurred_;  // three bytes a texel, stored values
  std::vector<GlowTap> glowTaps_;
  std::vector<Floats4> glowColumn_;    // each glow column on a line
  std::vector<std::uint32_t> beams_;   // a line's beams: the colour, and how much mask shows
  std::vector<std::uint32_t> masked_;  // each picture column masked: even, odd
};

}  // namespace compat
