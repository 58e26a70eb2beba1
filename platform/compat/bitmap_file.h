// Bitmap files, in one place: read whole (a regular file of bounded size, opened without
// blocking), checked by our own code (the sizes, offsets, bit counts and dimensions must
// describe a picture that fits in the file and in memory), then decoded by the platform's
// decoder, which is not hardened against hostile input and so sees only files that passed the
// check. Reading and checking are shared (bitmap_file.cpp); decodeBitmap comes from one file
// per platform:
//   desktop (platform/desktop/bitmap_decode_sdl.cpp): SDL's BMP reader;
//   web (platform/web/web_bitmap_decode.cpp): the browser's image decoder.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace compat {

inline constexpr int largestBitmapSide = 16384;
inline constexpr long long largestBitmapPixels = 1LL << 26;
inline constexpr std::size_t largestBitmapFileBytes = std::size_t{1} << 28;

// Empty when the headers describe a readable bitmap; otherwise what is wrong, for a message.
std::string bmpHeaderProblem(const std::uint8_t* bytes, std::size_t size);

// A decoded picture: width x height colours 0x00BBGGRR (as COLORREF), rows top to bottom.
struct DecodedBitmap {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> colours;
};

// The file read, checked and decoded; nothing for a missing, unreadable, oversized, hostile or
// undecodable file, or one that is not a regular file.
std::optional<DecodedBitmap> loadBitmapFile(const char* name);

// The platform's decoder, given the whole file once its headers passed the check; nothing when
// it cannot decode it.
std::optional<DecodedBitmap> decodeBitmap(const std::vector<std::uint8_t>& bytes);

}  // namespace compat
