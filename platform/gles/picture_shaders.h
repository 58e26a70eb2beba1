// The GLSL ES 3.00 sources of every pass, one set for the desktop (OpenGL ES 3.0) and the
// browser (WebGL2). Every fragment shader finds its pixel from gl_FragCoord and a few uniforms,
// so the one vertex shader only has to cover the viewport.
//
// The uniforms the screen passes share names across programs:
//   area            the look's rectangle on the drawable: x, y from the top, width, height
//   drawableHeight  to turn GL's rows (from the bottom) into rows from the top
//   texels          the picture's width and height
#pragma once

namespace gles::shaders {

// One triangle that covers the viewport; no vertex data.
extern const char* const coverViewport;

// Pass 1: each 8-bit index through the palette, at the picture's size.
extern const char* const paletteLookup;

// Pass 2, by look.
extern const char* const integerLook;
extern const char* const sharpLook;
extern const char* const crtLook;

// The CRT look's glow, made at a quarter of the picture's size: a 4 x 4 average, then a
// blur along x and along y.
extern const char* const glowReduce;
extern const char* const glowBlur;

// The notice over the picture: white ink on translucent black.
extern const char* const notice;

}  // namespace gles::shaders
