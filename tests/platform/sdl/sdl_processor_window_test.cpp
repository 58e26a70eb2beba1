// The processor path's window on a real X display (run_on_software_gl.sh, whose GL is Mesa's
// llvmpipe): its pixels are the X window's own, sent to the server as they are, never a texture
// that SDL would draw through a GL renderer of its own (which costs what the path avoids),
// even where a message box came first (SDL decides that once, for every later window).
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "platform/compat/screen.h"
#include "tests/platform/sdl/screen_window.h"
#include "tests/support/bmp_files.h"

namespace {

constexpr int pictureWidth = 320, pictureHeight = 240;

class ProcessorWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("XDG_STATE_HOME", folder.path("state").c_str(), 1);
    setenv("ROTOZOOM_RENDERER", "processor", 1);
  }

  void expectTheWindowsOwnPixels() {
    screen.placeWindow({0, 0, pictureWidth, pictureHeight, true, "processor window"});
    screen.setExclusiveMode(true);
    const std::vector<std::uint8_t> pixels(pictureWidth * pictureHeight, 1);
    compat::Palette palette{};
    palette[1] = {200, 100, 50, 0};
    screen.presentFrame({pixels.data(), pictureWidth, pictureHeight, pictureWidth}, palette);
    SDL_Window* window = screenWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(SDL_GetRenderer(window), nullptr) << "SDL draws the window through a renderer";
    const SDL_Surface* surface = SDL_GetWindowSurface(window);
    ASSERT_NE(surface, nullptr);
    // An X server of 24 bits: its own format, not a texture's.
    EXPECT_STREQ(SDL_GetPixelFormatName(surface->format->format), "SDL_PIXELFORMAT_RGB888");
  }

  support::TemporaryFolder folder;
  compat::Screen& screen = compat::activeScreen();
};

}  // namespace

TEST_F(ProcessorWindowTest, IsTheXWindowsOwnPixels) {
  ASSERT_TRUE(screen.isAvailable());
  expectTheWindowsOwnPixels();
}

TEST_F(ProcessorWindowTest, IsTheXWindowsOwnPixelsAfterAMessageBox) {
  ASSERT_TRUE(screen.isAvailable());
  // A program's message box before its display: answered by the Return key already waiting.
  SDL_Event press{};
  press.type = SDL_KEYDOWN;
  press.key.state = SDL_PRESSED;
  press.key.keysym.scancode = SDL_SCANCODE_RETURN;
  press.key.keysym.sym = SDLK_RETURN;
  ASSERT_EQ(SDL_PushEvent(&press), 1);
  screen.showMessageBox("Starting", "A message before the display.");
  expectTheWindowsOwnPixels();
}
