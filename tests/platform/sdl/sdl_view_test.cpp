// The window a full-screen program is shown in (Alt+Enter): its starting size on desktops of
// every shape, a remembered one brought back within the desktop, and the whole picture shown
// in a window smaller than it. The screen's own cases run on SDL's dummy driver (a 1024 x 768
// desktop); the desktops it cannot be run on are checked on the computation itself.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <vector>

#include "platform/compat/screen.h"
#include "platform/sdl/sdl_display_state.h"
#include "platform/sdl/sdl_window_fit.h"
#include "tests/platform/sdl/screen_window.h"
#include "tests/support/bmp_files.h"

namespace sdl {

void PrintTo(const WindowArea& a, std::ostream* out) {
  *out << a.width << " x " << a.height << " at (" << a.x << ", " << a.y << ")";
}

}  // namespace sdl

namespace {

constexpr int pictureWidth = 320, pictureHeight = 240;
constexpr std::uint8_t border = 1, inside = 2;
constexpr int borderWidth = 12;

// A program in its exclusive mode with the state folder of its own, a remembered view written
// there first when given.
class ViewTest : public ::testing::Test {
 protected:
  void SetUp() override { setenv("XDG_STATE_HOME", folder.path("state").c_str(), 1); }

  void remember(const sdl::DisplayState& state) {
    ASSERT_TRUE(sdl::writeDisplayState(sdl::displayStatePath(), state));
  }

  // The program's window where it put it before asking for its exclusive mode.
  void startFullScreenProgram(int x = 0, int y = 0) {
    ASSERT_TRUE(screen.isAvailable());
    screen.placeWindow({x, y, pictureWidth, pictureHeight, true, "view"});
    screen.setExclusiveMode(true);
    window = screenWindow();
    ASSERT_NE(window, nullptr);
  }

  // A picture framed by a band of `border` round `inside`.
  void presentFramedPicture() {
    std::vector<std::uint8_t> pixels(pictureWidth * pictureHeight);
    for (int y = 0; y < pictureHeight; ++y)
      for (int x = 0; x < pictureWidth; ++x) {
        const bool edge = x < borderWidth || y < borderWidth || x >= pictureWidth - borderWidth ||
                          y >= pictureHeight - borderWidth;
        pixels[y * pictureWidth + x] = edge ? border : inside;
      }
    compat::Palette palette{};
    palette[border] = {255, 0, 0, 0};
    palette[inside] = {0, 255, 0, 0};
    screen.presentFrame({pixels.data(), pictureWidth, pictureHeight, pictureWidth}, palette);
  }

  void pressAlt(SDL_Scancode code, SDL_Keycode key) {
    ASSERT_TRUE(pushAltKey(window, code, key));
    std::vector<compat::InputEvent> events;
    screen.pollInput(events);
    EXPECT_TRUE(events.empty()) << "the program saw the screen's own key";
  }

  std::optional<sdl::DisplayState> rememberedState() const {
    SDL_Rect bounds;
    if (SDL_GetDisplayBounds(0, &bounds) != 0) return std::nullopt;
    return sdl::readDisplayState(sdl::displayStatePath(),
                                 {{bounds.x, bounds.y, bounds.w, bounds.h}});
  }

  sdl::WindowArea windowArea() const {
    sdl::WindowArea area{};
    SDL_GetWindowPosition(window, &area.x, &area.y);
    SDL_GetWindowSize(window, &area.width, &area.height);
    return area;
  }

  support::TemporaryFolder folder;
  compat::Screen& screen = compat::activeScreen();
  SDL_Window* window = nullptr;
};

// The colours met along a line of the window from one end to the other, black left out, as
// 0xRRGGBB: the first and the last tell whether the picture's edges are on the screen.
std::vector<Uint32> coloursAlong(SDL_Window* window, bool column) {
  SDL_Renderer* renderer = SDL_GetRenderer(window);
  int width = 0, height = 0;
  SDL_GetRendererOutputSize(renderer, &width, &height);
  const SDL_Rect line =
      column ? SDL_Rect{width / 2, 0, 1, height} : SDL_Rect{0, height / 2, width, 1};
  std::vector<Uint32> pixels(static_cast<std::size_t>(line.w) * line.h);
  if (SDL_RenderReadPixels(renderer, &line, SDL_PIXELFORMAT_ARGB8888, pixels.data(), line.w * 4) !=
      0)
    return {};
  std::vector<Uint32> shown;
  for (Uint32 pixel : pixels)
    if ((pixel & 0xFFFFFF) != 0) shown.push_back(pixel & 0xFFFFFF);
  return shown;
}

}  // namespace

TEST(SdlView, TheStartingWindowIsTheLargestWholeMultipleThatFitsComfortably) {
  const struct {
    const char* name;
    sdl::WindowArea usable;
    sdl::WindowArea window;
  } cases[] = {
      {"4:3", {0, 0, 1024, 768}, {192, 144, 640, 480}},
      {"16:9", {0, 0, 1920, 1080}, {480, 180, 960, 720}},
      {"ultra-wide", {0, 0, 2560, 1080}, {800, 180, 960, 720}},
      {"portrait", {0, 0, 1080, 1920}, {220, 720, 640, 480}},
      {"under a panel", {0, 32, 1920, 1048}, {480, 196, 960, 720}},
      {"a second monitor", {1920, 0, 1280, 1024}, {2080, 152, 960, 720}},
      {"smaller than the picture", {0, 0, 300, 200}, {-10, -20, 320, 240}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const sdl::WindowArea window = sdl::defaultWindowOn(c.usable, pictureWidth, pictureHeight);
    EXPECT_EQ(window, c.window);
    if (c.usable.width >= pictureWidth && c.usable.height >= pictureHeight) {
      EXPECT_LE(window.width, c.usable.width * 0.85);
      EXPECT_LE(window.height, c.usable.height * 0.85);
    }
  }
}

TEST(SdlView, ARememberedWindowIsBroughtWithinTheDesktop) {
  const std::vector<sdl::WindowArea> desktop = {{0, 32, 1920, 1048}, {1920, 0, 1280, 1440}};
  const struct {
    const char* name;
    sdl::WindowArea remembered;
    sdl::WindowArea fitted;
  } cases[] = {
      {"fits", {100, 80, 960, 720}, {100, 80, 960, 720}},
      {"fits, partly off the desktop", {-300, 80, 960, 720}, {-300, 80, 960, 720}},
      {"far too large", {0, 0, 8000, 8000}, {0, 32, 1920, 1048}},
      {"resized past the desktop", {100, 100, 5000, 4000}, {0, 32, 1920, 1048}},
      {"too wide only", {300, 200, 3000, 500}, {0, 200, 1920, 500}},
      {"too tall only", {300, 0, 640, 1200}, {300, 32, 640, 1048}},
      {"mostly on the taller monitor", {2000, 100, 1000, 2000}, {2000, 0, 1000, 1440}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(sdl::fitToDesktop(c.remembered, desktop), c.fitted);
  }
  EXPECT_EQ(sdl::fitToDesktop({0, 0, 8000, 8000}, {}), (sdl::WindowArea{0, 0, 8000, 8000}));
}

TEST_F(ViewTest, AltEnterOpensTheStartingWindowAndTheProgramsOwnFileRemembersIt) {
  startFullScreenProgram();
  presentFramedPicture();
  pressAlt(SDL_SCANCODE_RETURN, SDLK_RETURN);

  SDL_Rect usable;
  ASSERT_EQ(SDL_GetDisplayUsableBounds(0, &usable), 0);
  const sdl::WindowArea expected =
      sdl::defaultWindowOn({usable.x, usable.y, usable.w, usable.h}, pictureWidth, pictureHeight);
  EXPECT_EQ(windowArea(), expected);
  EXPECT_EQ(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN, 0u);

  const std::string path = folder.path("state/rotozoom/sdl_screen_tests.display").string();
  ASSERT_EQ(sdl::displayStatePath(), path);
  const std::optional<sdl::DisplayState> state =
      sdl::readDisplayState(path, {{usable.x, usable.y, usable.w, usable.h}});
  ASSERT_TRUE(state);
  EXPECT_TRUE(state->windowed);
  EXPECT_EQ(state->window, expected);
}

TEST_F(ViewTest, ARememberedWindowLargerThanTheDesktopOpensWithinIt) {
  remember({true, {0, 0, 8000, 8000}});
  startFullScreenProgram();
  SDL_Rect usable;
  ASSERT_EQ(SDL_GetDisplayUsableBounds(0, &usable), 0);
  const sdl::WindowArea shown = windowArea();
  EXPECT_LE(shown.width, usable.w);
  EXPECT_LE(shown.height, usable.h);
  EXPECT_GE(shown.x, usable.x);
  EXPECT_GE(shown.y, usable.y);
}

TEST_F(ViewTest, AWindowSmallerThanThePictureOnOneSideShowsAllOfIt) {
  remember({true, {0, 0, 400, 200}});
  startFullScreenProgram();
  presentFramedPicture();
  const struct {
    int width, height;
  } sizes[] = {{400, 200}, {200, 400}, {300, 600}, {640, 239}, {319, 480}, {640, 480}};
  for (const auto& size : sizes) {
    SCOPED_TRACE(testing::Message() << size.width << " x " << size.height);
    SDL_SetWindowSize(window, size.width, size.height);
    std::vector<compat::InputEvent> events;
    screen.pollInput(events);  // the screen hears of the new size
    presentFramedPicture();
    ASSERT_EQ(windowArea().width, size.width);
    // Scaled down to fit, every edge of the picture is on the screen: each line through the
    // middle meets the border first and last. Cropped, one of them would meet the inside.
    for (const bool column : {true, false}) {
      SCOPED_TRACE(column ? "down the middle" : "across the middle");
      const std::vector<Uint32> shown = coloursAlong(window, column);
      ASSERT_FALSE(shown.empty());
      EXPECT_EQ(shown.front(), 0xFF0000u);
      EXPECT_EQ(shown.back(), 0xFF0000u);
      EXPECT_NE(std::find(shown.begin(), shown.end(), 0x00FF00u), shown.end());
    }
  }
}

TEST_F(ViewTest, AFullScreenProgramsPictureFillsTheScreenWhereverItsWindowWas) {
  // A program may place its window anywhere before it takes the display: its picture is the
  // whole screen all the same, every edge of it on the screen.
  const struct { int x, y; } places[] = {{0, 0}, {100, 50}, {-40, -30}, {700, 500}};
  startFullScreenProgram(places[0].x, places[0].y);
  for (const auto& place : places) {
    SCOPED_TRACE(testing::Message() << "the window at " << place.x << ", " << place.y);
    screen.setExclusiveMode(false);
    screen.placeWindow({place.x, place.y, pictureWidth, pictureHeight, true, "view"});
    screen.setExclusiveMode(true);
    presentFramedPicture();
    for (const bool column : {true, false}) {
      SCOPED_TRACE(column ? "down the middle" : "across the middle");
      const std::vector<Uint32> shown = coloursAlong(window, column);
      ASSERT_FALSE(shown.empty());
      EXPECT_EQ(shown.front(), 0xFF0000u);
      EXPECT_EQ(shown.back(), 0xFF0000u);
      // At 3 x 3 screen pixels a picture pixel on the 1024 x 768 desktop: all of it.
      EXPECT_EQ(shown.size(),
                static_cast<std::size_t>(3 * (column ? pictureHeight : pictureWidth)));
    }
  }
}

TEST_F(ViewTest, TheRememberedLookIsTheOneAltLCyclesOnFrom) {
  // crt remembered (not the default, sharp, whose next look is crt): the next start's Alt+L
  // goes on to integer, and the file says so.
  remember({false, {0, 0, 640, 480}, compat::Look::crt});
  startFullScreenProgram();
  presentFramedPicture();
  pressAlt(SDL_SCANCODE_L, SDLK_l);
  const std::optional<sdl::DisplayState> state = rememberedState();
  ASSERT_TRUE(state);
  EXPECT_EQ(compat::lookName(state->look), "integer");
}
