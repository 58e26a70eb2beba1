// A check of a Windows bitmap file's headers before any decoder sees it: the sizes, offsets,
// bit counts and dimensions must describe a picture that fits in the file and in memory. Files
// that pass are handed to SDL's reader, which is not hardened against hostile input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace compat {

inline constexpr int largestBitmapSide = 16384;
inline constexpr long long largestBitmapPixels = 1LL << 26;
inline constexpr std::size_t largestBitmapFileBytes = std::size_t{1} << 28;

// Empty when the headers describe a readable bitmap; otherwise what is wrong, for a message.
std::string bmpHeaderProblem(const std::uint8_t* bytes, std::size_t size);

}  // namespace compat
