// The pointer of a full-screen program, on a real X display with Mesa's software OpenGL ES
// (run_on_software_gl.sh, on a 1400 x 1000 screen): whatever the look and whichever path draws
// the picture, a point of the screen reaches the program in its display mode's pixels, the
// picture pixel under it, and a point in the bars as the picture's nearest edge.
//   sharp and crt: the picture fills the height, 1333 x 1000 at x = 33 (1000 / 240 = 4.17);
//   integer, and SDL's renderer path: 4 x 4 screen pixels a picture pixel, 1280 x 960 at (60, 20).
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "platform/compat/screen.h"
#include "tests/platform/sdl/screen_window.h"
#include "tests/support/bmp_files.h"

namespace {

constexpr int pictureWidth = 320, pictureHeight = 240;

struct Point {
  int x, y;
  bool operator==(const Point&) const = default;
};

void PrintTo(const Point& point, std::ostream* out) {
  *out << "(" << point.x << ", " << point.y << ")";
}

struct PointerCase {
  const char* where;
  Point onScreen;
  Point filled;   // sharp and crt
  Point integer;  // integer, and the renderer path
};

const PointerCase cases[] = {
    {"the middle", {700, 500}, {160, 120}, {160, 120}},
    {"near the top left", {100, 100}, {16, 24}, {10, 20}},
    {"near the bottom right", {1300, 900}, {304, 216}, {310, 220}},
    {"the top left corner, in the bars", {0, 0}, {0, 0}, {0, 0}},
    {"the bottom right corner, in the bars", {1399, 999}, {319, 239}, {319, 239}},
    {"the left bar", {10, 500}, {0, 120}, {0, 120}},
};

// A full-screen program in its 320 x 240 mode, its state in a folder of its own.
class PointerTest : public ::testing::Test {
 protected:
  void SetUp() override { setenv("XDG_STATE_HOME", folder.path("state").c_str(), 1); }

  void startFullScreenProgram() {
    ASSERT_TRUE(screen.isAvailable());
    screen.placeWindow({0, 0, pictureWidth, pictureHeight, true, "pointer"});
    screen.setExclusiveMode(true);
    window = screenWindow();
    ASSERT_NE(window, nullptr);
    present();
    int width = 0, height = 0;
    SDL_GetWindowSize(window, &width, &height);
    ASSERT_EQ(width, 1400);
    ASSERT_EQ(height, 1000);
    settle();
  }

  // Reads what the window's appearing or changing brought (the pointer under it moving over
  // it), until the display has nothing more to say.
  void settle() {
    for (int quiet = 0, tries = 0; quiet < 2 && tries < 40; ++tries) {
      SDL_Delay(50);
      std::vector<compat::InputEvent> events;
      screen.pollInput(events);
      quiet = events.empty() ? quiet + 1 : 0;
    }
  }

  void present() {
    const std::vector<std::uint8_t> pixels(pictureWidth * pictureHeight, 1);
    screen.presentFrame({pixels.data(), pictureWidth, pictureHeight, pictureWidth},
                        compat::Palette{});
  }

  void pressAltL() {
    ASSERT_TRUE(pushAltKey(window, SDL_SCANCODE_L, SDLK_l));
    std::vector<compat::InputEvent> events;
    screen.pollInput(events);
    present();
  }

  // The pointer moved to the point and both buttons pressed and released there: where each of
  // the five messages says it was.
  std::vector<Point> pointerAt(Point point) {
    std::vector<SDL_Event> sent;
    SDL_Event motion{};
    motion.type = SDL_MOUSEMOTION;
    motion.motion.windowID = SDL_GetWindowID(window);
    motion.motion.x = point.x;
    motion.motion.y = point.y;
    sent.push_back(motion);
    for (const Uint8 button : {SDL_BUTTON_LEFT, SDL_BUTTON_RIGHT})
      for (const Uint32 type : {SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP}) {
        SDL_Event click{};
        click.type = type;
        click.button.windowID = SDL_GetWindowID(window);
        click.button.button = button;
        click.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
        click.button.clicks = 1;
        click.button.x = point.x;
        click.button.y = point.y;
        sent.push_back(click);
      }
    for (SDL_Event& event : sent) EXPECT_EQ(SDL_PushEvent(&event), 1);
    std::vector<compat::InputEvent> events;
    screen.pollInput(events);
    std::vector<Point> places;
    for (const compat::InputEvent& event : events) places.push_back({event.x, event.y});
    return places;
  }

  void expectEveryCase(Point PointerCase::*expected) {
    for (const PointerCase& c : cases) {
      SCOPED_TRACE(c.where);
      EXPECT_EQ(pointerAt(c.onScreen), std::vector<Point>(5, c.*expected));
    }
  }

  void expectEveryLookAndTheWindow();

  support::TemporaryFolder folder;
  compat::Screen& screen = compat::activeScreen();
  SDL_Window* window = nullptr;
};

}  // namespace

// Every look full-screen, then in a window: the GPU path and the processor path draw the
// picture into the same rectangles.
void PointerTest::expectEveryLookAndTheWindow() {
  startFullScreenProgram();
  {
    SCOPED_TRACE("sharp");
    expectEveryCase(&PointerCase::filled);
  }
  pressAltL();
  {
    SCOPED_TRACE("crt");
    expectEveryCase(&PointerCase::filled);
  }
  pressAltL();
  {
    SCOPED_TRACE("integer");
    expectEveryCase(&PointerCase::integer);
  }
  // In a window (Alt+Enter) of three times the picture, 960 x 720: the window's own points.
  SDL_Event press{};
  press.type = SDL_KEYDOWN;
  press.key.windowID = SDL_GetWindowID(window);
  press.key.state = SDL_PRESSED;
  press.key.keysym.scancode = SDL_SCANCODE_RETURN;
  press.key.keysym.sym = SDLK_RETURN;
  press.key.keysym.mod = KMOD_LALT;
  ASSERT_EQ(SDL_PushEvent(&press), 1);
  settle();
  int width = 0, height = 0;
  SDL_GetWindowSize(window, &width, &height);
  ASSERT_EQ(width, 960);
  ASSERT_EQ(height, 720);
  const struct {
    Point inWindow, onPicture;
  } windowed[] = {
      {{0, 0}, {0, 0}}, {{100, 100}, {33, 33}}, {{480, 360}, {160, 120}}, {{959, 719}, {319, 239}}};
  for (const auto& c : windowed) {
    SCOPED_TRACE(testing::Message() << "in a window at " << testing::PrintToString(c.inWindow));
    EXPECT_EQ(pointerAt(c.inWindow), std::vector<Point>(5, c.onPicture));
  }
}

TEST_F(PointerTest, OnTheGpuPathThePointIsThePicturePixelUnderItInEveryLook) {
  setenv("ROTOZOOM_RENDERER", "gl", 1);
  expectEveryLookAndTheWindow();
}

TEST_F(PointerTest, OnTheProcessorPathThePointIsThePicturePixelUnderItInEveryLook) {
  setenv("ROTOZOOM_RENDERER", "processor", 1);
  expectEveryLookAndTheWindow();
}

TEST_F(PointerTest, OnTheRendererPathThePointIsThePicturePixelUnderIt) {
  setenv("ROTOZOOM_RENDERER", "sdl", 1);
  startFullScreenProgram();
  expectEveryCase(&PointerCase::integer);
}
