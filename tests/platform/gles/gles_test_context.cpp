#include "tests/platform/gles/gles_test_context.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>

namespace gles_test {
namespace {

void* lookUp(const char* name) { return SDL_GL_GetProcAddress(name); }

}  // namespace

GlContext::~GlContext() {
  if (context_ != nullptr) SDL_GL_DeleteContext(context_);
  if (window_ != nullptr) SDL_DestroyWindow(window_);
  // Video stays up to the end of the process: closing the display unloads Mesa's driver, and
  // LeakSanitizer could then no longer tell what the driver keeps from our own leaks.
}

bool GlContext::drawOn(int width, int height, std::string& error) {
  if (context_ == nullptr && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    error = std::string("no video: ") + SDL_GetError();
    return false;
  }
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_ES);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 0);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_Window* window =
      SDL_CreateWindow("gles test", 0, 0, width, height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
  if (window == nullptr) {
    error = std::string("no window: ") + SDL_GetError();
    return false;
  }
  if (context_ == nullptr) {
    context_ = SDL_GL_CreateContext(window);
    if (context_ == nullptr) {
      error = std::string("no OpenGL ES 3.0 context: ") + SDL_GetError();
      SDL_DestroyWindow(window);
      return false;
    }
    std::string missing;
    if (!gles::loadGlesFunctions(lookUp, functions_, missing)) {
      error = "the context lacks " + missing;
      SDL_DestroyWindow(window);
      return false;
    }
    readPixels_ = reinterpret_cast<PFNGLREADPIXELSPROC>(lookUp("glReadPixels"));
    finish_ = reinterpret_cast<PFNGLFINISHPROC>(lookUp("glFinish"));
  }
  if (SDL_GL_MakeCurrent(window, context_) != 0) {
    error = std::string("cannot draw on the window: ") + SDL_GetError();
    SDL_DestroyWindow(window);
    return false;
  }
  if (window_ != nullptr) SDL_DestroyWindow(window_);
  window_ = window;
  SDL_GL_GetDrawableSize(window_, &width_, &height_);
  if (width_ != width || height_ != height) {
    error = "the drawable is " + std::to_string(width_) + "x" + std::to_string(height_);
    return false;
  }
  return true;
}

Rgba GlContext::readBack() const {
  Rgba picture{width_, height_, std::vector<std::uint8_t>(std::size_t{4} * width_ * height_)};
  finish_();
  std::vector<std::uint8_t> rows(picture.bytes.size());
  readPixels_(0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, rows.data());
  // GL's rows run from the bottom.
  const std::size_t row = std::size_t{4} * width_;
  for (int y = 0; y < height_; ++y)
    std::copy_n(rows.data() + (height_ - 1 - y) * row, row, picture.bytes.data() + y * row);
  return picture;
}

Picture patternPicture(int width, int height, int pitch) {
  Picture picture{width, height, pitch,
                  std::vector<std::uint8_t>(static_cast<std::size_t>(pitch) * height, 0xEE)};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      // 7 and 13 are odd, so stepping x or y always changes the index, by a different amount
      // each way.
      picture.pixels[static_cast<std::size_t>(y) * pitch + x] =
          static_cast<std::uint8_t>(x * 7 + y * 13 + (x / 37) * 3);
  return picture;
}

Picture flatPicture(int width, int height, std::uint8_t index) {
  return {width, height, width,
          std::vector<std::uint8_t>(static_cast<std::size_t>(width) * height, index)};
}

compat::Palette distinctPalette(int seed) {
  std::mt19937 random(static_cast<unsigned>(seed));
  compat::Palette palette{};
  for (auto& colour : palette) {
    // 16 to 255 in each channel: never black, never near it.
    colour = {static_cast<std::uint8_t>(16 + random() % 240),
              static_cast<std::uint8_t>(16 + random() % 240),
              static_cast<std::uint8_t>(16 + random() % 240), 0};
  }
  return palette;
}

Rgba colours(const Picture& picture, const compat::Palette& palette) {
  Rgba out{picture.width, picture.height,
           std::vector<std::uint8_t>(std::size_t{4} * picture.width * picture.height)};
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x) {
      const compat::PaletteColour& c = palette[picture.index(x, y)];
      std::uint8_t* p = out.bytes.data() + (static_cast<std::size_t>(y) * picture.width + x) * 4;
      p[0] = c.red, p[1] = c.green, p[2] = c.blue, p[3] = 255;
    }
  return out;
}

double light(std::uint8_t value) {
  const double v = value / 255.0;
  return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}

bool writePng(const std::string& path, const Rgba& picture) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  bool written = false;
  if (info != nullptr && setjmp(png_jmpbuf(png)) == 0) {
    png_init_io(png, file);
    png_set_IHDR(png, info, picture.width, picture.height, 8, PNG_COLOR_TYPE_RGBA,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < picture.height; ++y)
      png_write_row(png, picture.bytes.data() + std::size_t{4} * picture.width * y);
    png_write_end(png, info);
    written = true;
  }
  png_destroy_write_struct(&png, &info);
  return std::fclose(file) == 0 && written;
}

std::string keepForInspection(const std::string& name, const Rgba& picture) {
  const std::string path = name + ".png";
  return writePng(path, picture) ? path : "(not written: " + path + ")";
}

}  // namespace gles_test
