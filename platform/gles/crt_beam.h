// How the CRT look's beam lines lie on the screen for a given picture and rectangle: worked
// out once a frame on the processor, passed to the shader as uniforms. Pure arithmetic.
#pragma once

#include "platform/screen_core/looks.h"

namespace gles {

struct CrtBeam {
  float linesPerRow;     // beam lines to a picture line: 2 for modes under 300 lines (VGA
                         // scanned those twice), else 1
  float phase;           // beam lines to add so that a beam's centre falls on a screen line's
  float halfScreenLine;  // half a screen line, in beam lines
  float depth;           // how much of the effect shows, 0 to 1
};

// Full depth from this many screen lines to a beam line, none below the fade's start: with
// fewer, the beam lines cannot be drawn without moire, and the look becomes the sharp one.
inline constexpr float crtFullDepthLines = 2.0f;
inline constexpr float crtNoDepthLines = 1.5f;

CrtBeam crtBeam(const compat::ScreenRect& rect, int pictureHeight);

}  // namespace gles
