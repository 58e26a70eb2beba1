// The frame conversion, for each 4-byte pixel format a window may have: the lookup holds what
// SDL_MapRGB gives for each palette colour, and a frame converted into a texture of that format
// shows each index in its own colour.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdint>

#include "platform/sdl/sdl_frame_conversion.h"

namespace {

// 256 different colours whose three components all differ, so a swapped pair shows.
void testPalette(std::uint8_t (*rgb)[3]) {
  for (int i = 0; i < 256; ++i) {
    rgb[i][0] = static_cast<std::uint8_t>(i);
    rgb[i][1] = static_cast<std::uint8_t>(255 - i);
    rgb[i][2] = static_cast<std::uint8_t>(i * 7 + 3);
  }
}

constexpr Uint32 fourByteFormats[] = {
    SDL_PIXELFORMAT_ARGB8888, SDL_PIXELFORMAT_RGBA8888, SDL_PIXELFORMAT_ABGR8888,
    SDL_PIXELFORMAT_BGRA8888, SDL_PIXELFORMAT_RGB888,   SDL_PIXELFORMAT_BGR888,
    SDL_PIXELFORMAT_RGBX8888, SDL_PIXELFORMAT_BGRX8888,
};

}  // namespace

TEST(SdlFrameConversion, TheLookupIsSdlMapRgbForEveryFourByteFormat) {
  std::uint8_t rgb[256][3];
  testPalette(rgb);
  for (Uint32 format : fourByteFormats) {
    SCOPED_TRACE(SDL_GetPixelFormatName(format));
    sdl::ColourLookup lookup{};
    sdl::mapColours(format, rgb, lookup);
    SDL_PixelFormat* layout = SDL_AllocFormat(format);
    ASSERT_NE(layout, nullptr);
    for (int i = 0; i < 256; ++i)
      ASSERT_EQ(lookup[i], SDL_MapRGB(layout, rgb[i][0], rgb[i][1], rgb[i][2])) << "index " << i;
    SDL_FreeFormat(layout);
  }
}

TEST(SdlFrameConversion, AFrameShowsEachIndexInItsColourThroughATexture) {
  ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
  // A 16 x 16 frame holding each index once, in rows with padding past the width.
  constexpr int side = 16, pitch = 20;
  std::uint8_t frame[side * pitch];
  for (int y = 0; y < side; ++y)
    for (int x = 0; x < pitch; ++x) frame[y * pitch + x] = x < side ? y * side + x : 0xEE;
  std::uint8_t rgb[256][3];
  testPalette(rgb);
  SDL_Window* window = SDL_CreateWindow("conversion", 0, 0, side, side, SDL_WINDOW_HIDDEN);
  ASSERT_NE(window, nullptr) << SDL_GetError();
  SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
  ASSERT_NE(renderer, nullptr) << SDL_GetError();
  for (Uint32 format : fourByteFormats) {
    SCOPED_TRACE(SDL_GetPixelFormatName(format));
    SDL_Texture* texture =
        SDL_CreateTexture(renderer, format, SDL_TEXTUREACCESS_STREAMING, side, side);
    ASSERT_NE(texture, nullptr) << SDL_GetError();
    sdl::ColourLookup lookup{};
    sdl::mapColours(format, rgb, lookup);
    ASSERT_TRUE(sdl::convertIntoTexture(texture, frame, pitch, side, side, lookup));
    SDL_RenderCopy(renderer, texture, nullptr, nullptr);
    Uint32 shown[side * side];
    ASSERT_EQ(SDL_RenderReadPixels(renderer, nullptr, SDL_PIXELFORMAT_ARGB8888, shown, side * 4), 0)
        << SDL_GetError();
    for (int i = 0; i < 256; ++i) {
      const Uint32 expected = 0xFF000000u | rgb[i][0] << 16 | rgb[i][1] << 8 | rgb[i][2];
      ASSERT_EQ(shown[i] | 0xFF000000u, expected) << "index " << i;
    }
    SDL_DestroyTexture(texture);
  }
  SDL_DestroyRenderer(renderer);
  SDL_DestroyWindow(window);
}
