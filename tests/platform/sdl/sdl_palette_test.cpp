// A palette display changes colour at once: a palette-only change, with no new frame, shows at
// the screen's next look at input or its next vertical blank.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/compat/screen.h"

namespace {

constexpr int side = 16;

compat::Palette paletteWithEntryOne(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  compat::Palette palette{};
  palette[1] = {red, green, blue, 0};
  return palette;
}

// The colour the window shows at its centre, as 0xRRGGBB.
Uint32 shownColour() {
  SDL_Window* window = SDL_GetWindowFromID(1);
  SDL_Renderer* renderer = window ? SDL_GetRenderer(window) : nullptr;
  if (renderer == nullptr) return 0xDEADBEEF;
  Uint32 pixel = 0;
  const SDL_Rect centre{side / 2, side / 2, 1, 1};
  if (SDL_RenderReadPixels(renderer, &centre, SDL_PIXELFORMAT_ARGB8888, &pixel, 4) != 0)
    return 0xDEADBEEF;
  return pixel & 0xFFFFFF;
}

}  // namespace

TEST(SdlPalette, APaletteChangeShowsAtTheNextPollAndTheNextVerticalBlank) {
  compat::Screen& screen = compat::activeScreen();
  ASSERT_TRUE(screen.isAvailable());
  // Windowed, the window exactly over a frame of its size: one frame pixel per window pixel.
  screen.placeWindow({0, 0, side, side, true, "palette"});
  std::vector<std::uint8_t> pixels(side * side, 1);
  screen.presentFrame({pixels.data(), side, side, side}, paletteWithEntryOne(255, 0, 0));
  ASSERT_EQ(shownColour(), 0xFF0000u);

  screen.updatePalette(paletteWithEntryOne(0, 255, 0));
  std::vector<compat::InputEvent> events;
  screen.pollInput(events);
  EXPECT_EQ(shownColour(), 0x00FF00u) << "after the next poll";

  screen.updatePalette(paletteWithEntryOne(0, 0, 255));
  screen.waitForVerticalBlank();
  EXPECT_EQ(shownColour(), 0x0000FFu) << "after the next vertical blank";
}
