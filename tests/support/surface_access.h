// Reading and writing whole surfaces through Lock/Unlock, and an identifiable picture to fill
// them with, for tests of the DirectDraw implementation and of the engine on top of it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/win32.h"

namespace support {

// A picture of w x h palette indices, rows packed.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> pixels;

  uint8_t& at(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
  uint8_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
  bool operator==(const Picture&) const = default;
};

// Every pixel tells where it came from: on a 16 x 16 surface each index appears once.
inline uint8_t patternAt(int x, int y, int seed = 0) {
  return static_cast<uint8_t>(x + 16 * y + seed);
}

Picture readSurface(IDirectDrawSurface* surface);
void writeSurface(IDirectDrawSurface* surface, const std::function<uint8_t(int, int)>& pixel);
void writeSurface(IDirectDrawSurface* surface, const Picture& picture);

// Creates an 8-bit offscreen surface; fails the test if it cannot.
IDirectDrawSurface* createOffscreen(IDirectDraw* directDraw, int width, int height,
                                    DWORD caps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY);

// The first pixel, if any, where two pictures differ, as text for a failure message.
std::string firstDifference(const Picture& actual, const Picture& expected);

}  // namespace support
