// The part of a frame the window shows: all of it full-screen; windowed, the window's own
// rectangle of the desktop, cut where the window hangs off the desktop.
#include <gtest/gtest.h>

#include <climits>

#include "platform/screen_core/shown_area.h"

TEST(ShownArea, FullScreenShowsTheFrameAndAWindowItsRectangleOfTheDesktop) {
  const struct {
    const char* name;
    bool exclusive;
    compat::WindowPlacement window;
    compat::ShownArea shown;
  } cases[] = {
      {"full-screen, the window anywhere", true, {100, 50, 10, 10, true, ""}, {0, 0, 640, 480}},
      {"windowed, inside the desktop", false, {100, 50, 320, 240, true, ""}, {100, 50, 320, 240}},
      {"off the left and top", false, {-30, -20, 320, 240, true, ""}, {0, 0, 290, 220}},
      {"off the right and bottom", false, {500, 400, 320, 240, true, ""}, {500, 400, 140, 80}},
      {"bigger than the desktop", false, {-5, -5, 700, 500, true, ""}, {0, 0, 640, 480}},
      {"wholly off to the right", false, {700, 0, 320, 240, true, ""}, {640, 0, 0, 240}},
      {"wholly above", false, {0, -300, 320, 240, true, ""}, {0, 0, 320, 0}},
      {"far off, no overflow",
       false,
       {INT_MAX - 10, INT_MAX - 10, 320, 240, true, ""},
       {640, 480, 0, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const compat::ShownArea shown = compat::shownArea(c.exclusive, c.window, 640, 480);
    EXPECT_EQ(shown.x, c.shown.x);
    EXPECT_EQ(shown.y, c.shown.y);
    EXPECT_EQ(shown.width, c.shown.width);
    EXPECT_EQ(shown.height, c.shown.height);
  }
}
