#include "platform/media/indexed_png.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

bool writeIndexedPng(std::FILE* file, const compat::IndexedFrame& frame,
                     const compat::Palette& palette, std::string& error) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
  if (info == nullptr || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    error = "libpng could not write it";
    return false;
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, static_cast<png_uint_32>(frame.width),
               static_cast<png_uint_32>(frame.height), 8, PNG_COLOR_TYPE_PALETTE,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_color colours[256];
  for (int i = 0; i < 256; ++i) colours[i] = {palette[i].red, palette[i].green, palette[i].blue};
  png_set_PLTE(png, info, colours, 256);
  png_write_info(png, info);
  for (int y = 0; y < frame.height; ++y)
    png_write_row(png, frame.pixels + static_cast<ptrdiff_t>(y) * frame.pitch);
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  if (std::fflush(file) != 0) {
    error = std::strerror(errno);
    return false;
  }
  return true;
}

bool writeIndexedPng(const std::string& path, const compat::IndexedFrame& frame,
                     const compat::Palette& palette, std::string& error) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) {
    error = std::strerror(errno);
    return false;
  }
  bool written = writeIndexedPng(file, frame, palette, error);
  if (std::fclose(file) != 0 && written) {
    error = std::strerror(errno);
    written = false;
  }
  if (!written) std::remove(path.c_str());
  return written;
}
