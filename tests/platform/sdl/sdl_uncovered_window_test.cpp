// A full-screen program's window that another window covered for a while, on a real X display
// (the 1400 x 1000 screen of run_on_software_gl.sh), whichever path draws it: once uncovered it
// shows its picture and its black bars again. The X server keeps no copy of what a window
// covered showed, and our windows have no background to fill with: whatever the covering
// window left stays until the program draws there again. Read back from the X screen itself.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "platform/compat/screen.h"
#include "tests/platform/sdl/screen_window.h"
#include "tests/support/bmp_files.h"

// Last: Xlib's macros (None, Bool, Status) would clash with the headers above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

constexpr int pictureWidth = 320, pictureHeight = 240;
// The covering window: over the left bar and the picture's top left corner.
constexpr int coverWidth = 200, coverHeight = 300;

class UncoveredWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("XDG_STATE_HOME", folder.path("state").c_str(), 1);
    display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);
  }
  void TearDown() override {
    if (display != nullptr) XCloseDisplay(display);
  }

  void present() {
    const std::vector<std::uint8_t> pixels(pictureWidth * pictureHeight, 1);
    compat::Palette palette{};
    palette[1] = {0, 0, 255, 0};
    screen.presentFrame({pixels.data(), pictureWidth, pictureHeight, pictureWidth}, palette);
  }

  // Reads what the window's changes brought, until the display has nothing more to say.
  void settle() {
    for (int quiet = 0, tries = 0; quiet < 2 && tries < 40; ++tries) {
      SDL_Delay(50);
      std::vector<compat::InputEvent> events;
      screen.pollInput(events);
      quiet = events.empty() ? quiet + 1 : 0;
    }
  }

  // How many of the screen's pixels in [left, right) x [top, coverHeight) are not `want`
  // (0xRRGGBB).
  int pixelsOtherThan(int left, int right, unsigned long want, int top = 0) {
    XSync(display, False);
    XImage* image = XGetImage(display, DefaultRootWindow(display), left, top,
                              static_cast<unsigned>(right - left),
                              static_cast<unsigned>(coverHeight - top), AllPlanes, ZPixmap);
    if (image == nullptr) return -1;
    int other = 0;
    for (int y = 0; y < coverHeight - top; ++y)
      for (int x = 0; x < right - left; ++x)
        if ((XGetPixel(image, x, y) & 0xFFFFFF) != want) ++other;
    XDestroyImage(image);
    return other;
  }

  // The picture's top left corner on the screen is (left, top), black bars left of it.
  void expectUncoveredWindowDrawnAgain(int left, int top) {
    ASSERT_TRUE(screen.isAvailable());
    screen.placeWindow({0, 0, pictureWidth, pictureHeight, true, "uncovered"});
    screen.setExclusiveMode(true);
    ASSERT_NE(screenWindow(), nullptr);
    present();
    settle();
    ASSERT_EQ(pixelsOtherThan(0, left, 0x000000), 0) << "the bar before";
    ASSERT_EQ(pixelsOtherThan(left + 1, coverWidth, 0x0000FF, top), 0) << "the picture before";

    // Another program's white window over the left bar and the picture, then gone. The
    // program presents no new frame meanwhile (a still picture).
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    attributes.background_pixel = WhitePixel(display, DefaultScreen(display));
    const Window cover = XCreateWindow(display, DefaultRootWindow(display), 0, 0, coverWidth,
                                       coverHeight, 0, CopyFromParent, InputOutput, CopyFromParent,
                                       CWOverrideRedirect | CWBackPixel, &attributes);
    XMapRaised(display, cover);
    XSync(display, False);
    for (int tries = 0; tries < 40 && pixelsOtherThan(0, coverWidth, 0xFFFFFF) != 0; ++tries)
      SDL_Delay(50);
    ASSERT_EQ(pixelsOtherThan(0, coverWidth, 0xFFFFFF), 0) << "the covering window";
    XDestroyWindow(display, cover);
    XSync(display, False);
    // However busy the machine, the window's exposure is read within two seconds.
    for (int tries = 0; tries < 40 && pixelsOtherThan(0, left, 0x000000) != 0; ++tries) settle();
    EXPECT_EQ(pixelsOtherThan(0, left, 0x000000), 0) << "the bar after";
    EXPECT_EQ(pixelsOtherThan(left + 1, coverWidth, 0x0000FF, top), 0) << "the picture after";
  }

  support::TemporaryFolder folder;
  compat::Screen& screen = compat::activeScreen();
  Display* display = nullptr;
};

}  // namespace

TEST_F(UncoveredWindowTest, OnTheProcessorPathTheBarsAndPictureAreDrawnAgain) {
  setenv("ROTOZOOM_RENDERER", "processor", 1);
  expectUncoveredWindowDrawnAgain(33, 0);  // sharp: 1333 x 1000 at x = 33
}

TEST_F(UncoveredWindowTest, OnTheGpuPathTheBarsAndPictureAreDrawnAgain) {
  setenv("ROTOZOOM_RENDERER", "gl", 1);
  expectUncoveredWindowDrawnAgain(33, 0);
}

TEST_F(UncoveredWindowTest, OnTheRendererPathTheBarsAndPictureAreDrawnAgain) {
  setenv("ROTOZOOM_RENDERER", "sdl", 1);
  expectUncoveredWindowDrawnAgain(60, 20);  // whole factors: 1280 x 960 at (60, 20)
}
