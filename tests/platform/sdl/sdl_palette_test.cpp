// What the window shows, and when: a palette-only change, with no new frame, shows at the
// screen's next look at input or its next vertical blank, as on a palette display; writes to
// the visible primary other than flips show without making the program wait.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <thread>
#include <vector>

#include "platform/compat/screen.h"
#include "tests/platform/sdl/screen_window.h"

namespace {

constexpr int side = 16;

compat::Palette paletteWithEntryOne(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  compat::Palette palette{};
  palette[1] = {red, green, blue, 0};
  return palette;
}

// The colour the window shows at its centre, as 0xRRGGBB.
Uint32 shownColour() {
  SDL_Window* window = screenWindow();
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

TEST(SdlPalette, WritesShowWithoutWaitingAndByTheNextTickAtTheLatest) {
  using Clock = std::chrono::steady_clock;
  compat::Screen& screen = compat::activeScreen();
  ASSERT_TRUE(screen.isAvailable());
  screen.placeWindow({0, 0, side, side, true, "writes"});
  const compat::Palette palette = [] {
    compat::Palette colours{};
    colours[1] = {255, 0, 0, 0};
    colours[2] = {0, 255, 0, 0};
    colours[3] = {0, 0, 255, 0};
    return colours;
  }();
  std::vector<std::uint8_t> pixels(side * side, 1);
  const compat::IndexedFrame frame{pixels.data(), side, side, side};
  screen.presentFrame(frame, palette);
  ASSERT_EQ(shownColour(), 0xFF0000u);

  // A program drawing on the visible primary over and over is not held to the display's pace
  // (a tick each would take two seconds here).
  const Clock::time_point start = Clock::now();
  for (int i = 0; i < 120; ++i) {
    std::fill(pixels.begin(), pixels.end(), static_cast<std::uint8_t>(2 + i % 2));
    screen.showWrite(frame, palette);
  }
  EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(500));

  // The last write shows by the first look at the screen a tick later.
  std::fill(pixels.begin(), pixels.end(), std::uint8_t{2});
  screen.showWrite(frame, palette);
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  std::vector<compat::InputEvent> events;
  screen.pollInput(events);
  EXPECT_EQ(shownColour(), 0x00FF00u);

  // A write a tick or more after the last picture shows at once.
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  std::fill(pixels.begin(), pixels.end(), std::uint8_t{3});
  screen.showWrite(frame, palette);
  EXPECT_EQ(shownColour(), 0x0000FFu);
}

TEST(SdlPalette, AColourChangeIsDrawnOnceAndNotAgainByLaterPollsOrBlanks) {
  compat::Screen& screen = compat::activeScreen();
  ASSERT_TRUE(screen.isAvailable());
  screen.placeWindow({0, 0, side, side, true, "palette once"});
  std::vector<std::uint8_t> pixels(side * side, 1);
  screen.presentFrame({pixels.data(), side, side, side}, paletteWithEntryOne(255, 0, 0));
  std::vector<compat::InputEvent> events;
  for (int i = 0; i < 5; ++i) screen.pollInput(events);  // what the window's showing brought
  screen.updatePalette(paletteWithEntryOne(0, 255, 0));
  screen.pollInput(events);
  ASSERT_EQ(shownColour(), 0x00FF00u);

  // A mark drawn over the window behind the screen's back stays until the screen next draws:
  // nothing changed, so no poll and no vertical blank draws again (with vertical sync each
  // needless draw would wait a refresh).
  SDL_Renderer* renderer = SDL_GetRenderer(screenWindow());
  ASSERT_NE(renderer, nullptr);
  SDL_SetRenderDrawColor(renderer, 255, 255, 255, 255);
  const SDL_Rect mark{side / 2, side / 2, 1, 1};
  ASSERT_EQ(SDL_RenderFillRect(renderer, &mark), 0);
  ASSERT_EQ(shownColour(), 0xFFFFFFu);
  for (int i = 0; i < 3; ++i) {
    screen.pollInput(events);
    screen.waitForVerticalBlank();
  }
  EXPECT_EQ(shownColour(), 0xFFFFFFu) << "the unchanged picture was drawn again";
  // The next change is drawn.
  screen.updatePalette(paletteWithEntryOne(0, 0, 255));
  screen.pollInput(events);
  EXPECT_EQ(shownColour(), 0x0000FFu);
}
