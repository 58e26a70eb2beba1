// The 8-bit picture's colours as a video encoder takes them. A palette picture has at most 256
// colours, so each conversion is a 256-entry table made once per frame, and every picture
// pixel becomes a solid block: nothing is averaged across two picture pixels, whatever a
// scaler's sampling rules would do.
#pragma once

#include <cstdint>

#include "platform/compat/screen.h"

namespace video {

// A colour in Y'CbCr as BT.709 defines it, in the limited ("studio") range that H.264 players
// assume: Y' 16..235, Cb and Cr 16..240.
struct StudioColour {
  std::uint8_t luma;
  std::uint8_t blue;  // Cb
  std::uint8_t red;   // Cr
};
StudioColour studioColourOf(std::uint8_t red, std::uint8_t green, std::uint8_t blue);

// The three planes of a 4:2:0 picture (Y' at full size, Cb and Cr at half in each direction).
struct PlanarPicture {
  std::uint8_t* planes[3];
  int pitches[3];
};

// Writes the frame scaled up by `factor` (an even number, so that each 2 x 2 block of luma
// that shares a chroma sample lies inside one picture pixel) into `out`, whose planes hold
// frame.width * factor x frame.height * factor.
void writeStudioBlocks(const compat::IndexedFrame& frame, const compat::Palette& palette,
                       int factor, const PlanarPicture& out);

// Writes the frame at its own size as 32-bit pixels, bytes blue, green, red, unused (FFmpeg's
// bgr0), `pitch` bytes a row.
void writeBgr0(const compat::IndexedFrame& frame, const compat::Palette& palette, std::uint8_t* out,
               int pitch);

}  // namespace video
