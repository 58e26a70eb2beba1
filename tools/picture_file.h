// Reading a picture file for make-texture --from: a PNG, JPEG, GIF (its first frame), WebP or
// BMP of any depth, decoded by SDL_image into RGBA pixels.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct DecodedPicture {
  int width = 0, height = 0;
  std::vector<std::uint8_t> rgba;  // rows top to bottom, red, green, blue, straight alpha
  std::string problem;             // why the file cannot be read; empty when it was
};

// Only a regular file is read (a named pipe would block, a folder has no picture), of at most
// maxPictureFileBytes; the size its header gives is checked before decoding (see
// picture_header.h).
DecodedPicture readPictureFile(const char* name);

constexpr std::uint64_t maxPictureFileBytes = std::uint64_t{512} << 20;
