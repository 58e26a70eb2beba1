// The GLSL ES 3.00 sources of every pass, one set for the desktop (OpenGL ES 3.0) and the
// browser (WebGL2). One vertex shader covers the viewport, which the presenter sets to the area
// drawn, and hands the fragment shaders `picture`: where the pixel's centre lies on the picture,
// (0, 0) at its top-left corner to (1, 1) at its bottom-right. The passes at the picture's own
// size read their texel from gl_FragCoord instead.
//
// The uniforms the presenter sets share names across programs:
//   area            the rectangle drawn on the drawable: x, y from the top, width, height
//   drawableHeight  to turn GL's rows (from the bottom) into rows from the top
//   texels          the picture's width and height
#pragma once

namespace gles::shaders {

// The viewport's corners as a strip of two triangles; no vertex data.
extern const char* const coverViewport;

// Pass 1: each 8-bit index through the palette, at the picture's size.
extern const char* const paletteLookup;

// Pass 2, by look. The integer look is a plain copy through a nearest sampler. The CRT look
// draws the beam lines of each picture column first (crtBeams), then the look from them.
extern const char* const copyPicture;
extern const char* const sharpLook;
extern const char* const crtBeams;
extern const char* const crtLook;

// The CRT look's glow, made at a quarter of the picture's size: a 4 x 4 average, then a
// blur along x and along y.
extern const char* const glowReduce;
extern const char* const glowBlur;

// The notice over the picture: white ink on translucent black.
extern const char* const notice;

}  // namespace gles::shaders
