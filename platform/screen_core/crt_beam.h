// How the CRT look's beam lines lie on the screen for a given picture and rectangle: worked
// out on the processor for the GPU's CRT shaders (as uniforms) and for the processor's own CRT
// look alike. Pure arithmetic.
#pragma once

#include "platform/screen_core/looks.h"

namespace compat {

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

CrtBeam crtBeam(const ScreenRect& rect, int pictureHeight);

}  // namespace compat
