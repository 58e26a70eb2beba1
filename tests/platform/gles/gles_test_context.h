// What the presenter's tests draw on: an OpenGL ES 3.0 context made with SDL on a hidden window
// of the size a test asks for (one context, moved from window to window), and the default
// framebuffer read back as RGBA rows from the top. Pictures and palettes that make every pixel
// identifiable, and PNG files of what was drawn when a test fails.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/compat/screen.h"
#include "platform/gles/gles_functions.h"

namespace gles_test {

// An RGBA picture, rows from the top.
struct Rgba {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> bytes;
  const std::uint8_t* at(int x, int y) const {
    return bytes.data() + (static_cast<std::size_t>(y) * width + x) * 4;
  }
};

class GlContext {
 public:
  GlContext() = default;
  GlContext(const GlContext&) = delete;
  GlContext& operator=(const GlContext&) = delete;
  ~GlContext();

  // Makes the context current on a window whose drawable is width x height. False, with the
  // reason in `error`, where there is no display or no ES 3.0 context.
  bool drawOn(int width, int height, std::string& error);
  const gles::GlesFunctions& functions() const { return functions_; }
  // The default framebuffer's pixels after everything drawn so far has finished.
  Rgba readBack() const;

 private:
  SDL_Window* window_ = nullptr;
  SDL_GLContext context_ = nullptr;
  gles::GlesFunctions functions_{};
  PFNGLREADPIXELSPROC readPixels_ = nullptr;
  PFNGLFINISHPROC finish_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

// An 8-bit picture with its rows `pitch` bytes apart (the bytes past the width hold 0xEE).
struct Picture {
  int width = 0;
  int height = 0;
  int pitch = 0;
  std::vector<std::uint8_t> pixels;
  std::uint8_t index(int x, int y) const { return pixels[static_cast<std::size_t>(y) * pitch + x]; }
};
// Neighbours always differ, and a pixel moved by one either way shows as a different index.
Picture patternPicture(int width, int height, int pitch);
// Every pixel the same index.
Picture flatPicture(int width, int height, std::uint8_t index);
// A palette whose 256 colours differ in every channel from their neighbours' and none is black,
// so a bar of black is never mistaken for the picture.
compat::Palette distinctPalette(int seed);
// The picture through the palette, one texel a pixel.
Rgba colours(const Picture& picture, const compat::Palette& palette);

// Light of a stored 8-bit value, as a monitor's sRGB curve gives it.
double light(std::uint8_t value);

// Writes the picture as an RGBA PNG; false when the file cannot be written.
bool writePng(const std::string& path, const Rgba& picture);
// Writes the picture beside the test's other output, for a person to look at after a failure;
// returns the path.
std::string keepForInspection(const std::string& name, const Rgba& picture);

}  // namespace gles_test
