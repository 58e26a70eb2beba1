// Which path draws the picture, as ROTOZOOM_RENDERER asks, on SDL's dummy driver (no GL, SDL's
// renderer only in software; its windows have pixels of their own, four bytes each, as an X
// server's of 24 bits): the processor path unless SDL's renderer is asked for, a value it does
// not know said and ignored, and the processor path drawing into the window's pixels, palette
// changes too. Each test in a process of its own: the path is chosen once.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/compat/screen.h"
#include "tests/platform/sdl/screen_window.h"
#include "tests/support/bmp_files.h"

namespace {

constexpr int pictureWidth = 320, pictureHeight = 240;

class PathChoiceTest : public ::testing::Test {
 protected:
  void SetUp() override { setenv("XDG_STATE_HOME", folder.path("state").c_str(), 1); }

  // The full-screen program's window made, and what the screen said meanwhile.
  std::string startFullScreenProgram() {
    testing::internal::CaptureStderr();
    const bool available = screen.isAvailable();
    screen.placeWindow({0, 0, pictureWidth, pictureHeight, true, "path"});
    screen.setExclusiveMode(true);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(available);
    return said;
  }

  void present(std::uint8_t red) {
    const std::vector<std::uint8_t> pixels(pictureWidth * pictureHeight, 1);
    screen.presentFrame({pixels.data(), pictureWidth, pictureHeight, pictureWidth}, colourOne(red));
  }
  static compat::Palette colourOne(std::uint8_t red) {
    compat::Palette palette{};
    palette[1] = {red, 40, 200, 0};
    return palette;
  }

  // The window's own pixel at (x, y) as 0xRRGGBB.
  static Uint32 windowPixel(int x, int y) {
    SDL_Window* window = screenWindow();
    SDL_Surface* surface = window != nullptr ? SDL_GetWindowSurface(window) : nullptr;
    if (surface == nullptr || surface->format->BytesPerPixel != 4) return 0xDEADBEEF;
    const Uint32 word = static_cast<const Uint32*>(surface->pixels)[y * (surface->pitch / 4) + x];
    Uint8 r = 0, g = 0, b = 0;
    SDL_GetRGB(word, surface->format, &r, &g, &b);
    return Uint32{r} << 16 | Uint32{g} << 8 | b;
  }

  support::TemporaryFolder folder;
  compat::Screen& screen = compat::activeScreen();
};

}  // namespace

TEST_F(PathChoiceTest, AValueItDoesNotKnowIsSaidAndThePathChosenAsWithoutIt) {
  setenv("ROTOZOOM_RENDERER", "Processor", 1);
  const std::string said = startFullScreenProgram();
  EXPECT_NE(said.find("ROTOZOOM_RENDERER=Processor ignored"), std::string::npos) << said;
  // As without it: no GL here, and SDL's renderer only in software, so the processor path.
  EXPECT_NE(said.find("presenting on the processor into the window's own pixels: no OpenGL ES "
                      "3.0 context"),
            std::string::npos)
      << said;
}

TEST_F(PathChoiceTest, SdlsRendererIsTheOneAskedForEvenInSoftware) {
  setenv("ROTOZOOM_RENDERER", "sdl", 1);
  const std::string said = startFullScreenProgram();
  EXPECT_NE(said.find("presenting through the SDL renderer \"software\""), std::string::npos)
      << said;
  EXPECT_NE(SDL_GetRenderer(screenWindow()), nullptr);
}

TEST_F(PathChoiceTest, TheProcessorPathDrawsIntoTheWindowsOwnPixels) {
  setenv("ROTOZOOM_RENDERER", "processor", 1);
  const std::string said = startFullScreenProgram();
  EXPECT_NE(said.find("presenting on the processor into the window's own pixels"),
            std::string::npos)
      << said;
  ASSERT_NE(screenWindow(), nullptr);
  EXPECT_EQ(SDL_GetRenderer(screenWindow()), nullptr) << "a renderer owns the window";
  // Sharp on the dummy's 1024 x 768 desktop: the picture fills it.
  present(255);
  EXPECT_EQ(windowPixel(512, 384), 0xFF28C8u);
  EXPECT_EQ(windowPixel(0, 767), 0xFF28C8u);
  // A palette change alone shows at the next poll.
  screen.updatePalette(colourOne(10));
  std::vector<compat::InputEvent> events;
  screen.pollInput(events);
  EXPECT_EQ(windowPixel(512, 384), 0x0A28C8u);
}
