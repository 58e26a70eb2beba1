// A windowed program's window reaching past the desktop's edge, on a real X display (the
// 1400 x 1000 screen of run_on_software_gl.sh): the frame is the desktop, and the part of the
// window on the screen shows the desktop's pixels under it, on the GPU path, the processor path
// and SDL's renderer path alike. Read back from the X screen itself, whichever path drew it.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "platform/compat/screen.h"

// Last: Xlib's macros (None, Bool, Status) would clash with the headers above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

constexpr int side = 64;  // the window's size each way

// A colour of its own for every index, none of them black.
compat::Palette distinctColours() {
  compat::Palette palette{};
  for (int i = 0; i < 256; ++i)
    palette[i] = {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
                  static_cast<std::uint8_t>(i * 7 + 1), 0};
  return palette;
}

// The desktop's pixel at (x, y): neighbours differ either way, so a picture moved by a pixel
// shows.
std::uint8_t desktopIndex(int x, int y) {
  return static_cast<std::uint8_t>((x * 3 + y * 11) % 251);
}

class WindowEdgeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(screen.isAvailable());
    const compat::DesktopSize size = screen.desktopSize();
    ASSERT_EQ(size.width, 1400);
    ASSERT_EQ(size.height, 1000);
    desktop.resize(static_cast<std::size_t>(size.width) * size.height);
    for (int y = 0; y < size.height; ++y)
      for (int x = 0; x < size.width; ++x) desktop[y * size.width + x] = desktopIndex(x, y);
    display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);
  }
  void TearDown() override {
    if (display != nullptr) XCloseDisplay(display);
  }

  // Shows the desktop with the window at (x, y), and counts the screen pixels of the window's
  // part on the screen that are not the desktop's pixel there.
  int wrongPixelsWithTheWindowAt(int x, int y) {
    screen.placeWindow({x, y, side, side, true, "edge"});
    screen.presentFrame({desktop.data(), 1400, 1000, 1400}, palette);
    SDL_Delay(200);  // for the X server to place the window and show what was drawn
    std::vector<compat::InputEvent> events;
    screen.pollInput(events);
    screen.presentFrame({desktop.data(), 1400, 1000, 1400}, palette);
    XSync(display, False);
    const int left = std::max(x, 0), top = std::max(y, 0);
    const int right = std::min(x + side, 1400), bottom = std::min(y + side, 1000);
    XImage* image = XGetImage(display, DefaultRootWindow(display), left, top,
                              static_cast<unsigned>(right - left),
                              static_cast<unsigned>(bottom - top), AllPlanes, ZPixmap);
    if (image == nullptr) return -1;
    int wrong = 0;
    for (int sy = top; sy < bottom; ++sy)
      for (int sx = left; sx < right; ++sx) {
        const unsigned long pixel = XGetPixel(image, sx - left, sy - top);
        const compat::PaletteColour& want = palette[desktopIndex(sx, sy)];
        if (((pixel >> 16) & 0xFF) != want.red || ((pixel >> 8) & 0xFF) != want.green ||
            (pixel & 0xFF) != want.blue)
          ++wrong;
      }
    XDestroyImage(image);
    return wrong;
  }

  void expectEveryEdge() {
    const struct {
      const char* where;
      int x, y;
    } places[] = {
        {"on the desktop", 100, 200},
        {"past the left edge", -20, 300},
        {"past the top edge", 400, -30},
        {"past the right edge", 1400 - 40, 500},
        {"past the bottom edge", 700, 1000 - 10},
        {"past the top left corner", -50, -5},
        {"past the bottom right corner", 1400 - 9, 1000 - 33},
    };
    for (const auto& place : places) {
      SCOPED_TRACE(place.where);
      EXPECT_EQ(wrongPixelsWithTheWindowAt(place.x, place.y), 0);
    }
  }

  compat::Screen& screen = compat::activeScreen();
  const compat::Palette palette = distinctColours();
  std::vector<std::uint8_t> desktop;
  Display* display = nullptr;
};

}  // namespace

TEST_F(WindowEdgeTest, OnTheGpuPathTheWindowShowsTheDesktopUnderIt) {
  setenv("ROTOZOOM_RENDERER", "gl", 1);
  expectEveryEdge();
}

TEST_F(WindowEdgeTest, OnTheProcessorPathTheWindowShowsTheDesktopUnderIt) {
  setenv("ROTOZOOM_RENDERER", "processor", 1);
  expectEveryEdge();
}

TEST_F(WindowEdgeTest, OnTheRendererPathTheWindowShowsTheDesktopUnderIt) {
  setenv("ROTOZOOM_RENDERER", "sdl", 1);
  expectEveryEdge();
}
