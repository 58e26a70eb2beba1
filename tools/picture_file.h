// Reading a picture file for make-texture --from: a PNG, JPEG, GIF (its first frame), WebP or
// BMP of any depth, decoded by SDL_image into RGBA pixels.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

struct DecodedPicture {
  int width = 0, height = 0;
  std::span<const std::uint8_t> rgba;  // rows top to bottom, red, green, blue, straight alpha
  std::shared_ptr<const void> pixels;  // what holds them (the decoder's own picture)
  std::string problem;                 // why the file cannot be read; empty when it was
};

// Only a regular file is read (a named pipe would block, a folder has no picture), of at most
// maxPictureFileBytes; the size its header gives is checked before decoding (see
// picture_header.h). At most two copies of the pixels are held at a time (the decoder's and
// the RGBA one), so an 8192 x 8192 picture takes about 450 MB at the peak.
DecodedPicture readPictureFile(const char* name);

constexpr std::uint64_t maxPictureFileBytes = std::uint64_t{512} << 20;
