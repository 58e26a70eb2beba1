// What a picture file says about itself before it is decoded: its format, told by its first
// bytes rather than its name, and its size, so that a picture too large to decode is refused
// before the decoder asks for the memory (a 40000 x 40000 PNG of a few kilobytes would
// otherwise ask for gigabytes).
#pragma once

#include <cstdint>
#include <span>
#include <string>

enum class PictureFormat { unknown, png, jpeg, gif, webp, bmp };

struct PictureHeader {
  PictureFormat format = PictureFormat::unknown;
  std::int64_t width = 0, height = 0;  // for a GIF, the larger of the screen and first frame
  std::string problem;                 // why the header cannot be read; empty when it can
};

// The format and size from the start of a file's `bytes` (the whole file, for a JPEG whose
// size follows its other segments).
PictureHeader readPictureHeader(std::span<const std::uint8_t> bytes);

// The format's name for messages and for SDL_image ("PNG", "JPEG", ...).
const char* formatName(PictureFormat format);
