// finishFrame's frame count and FPS line, on a fake clock.
#include <cstring>
#include <vector>

#include "demo/frame_presentation.h"
#include "host/shared_data.h"
#include "platform/compat/testing.h"
#include "platform/headless/headless_screen.h"
#include "tests/support/demo_fixture.h"

namespace {

// A clock the test sets by hand.
DWORD now = 5000;

}  // namespace

class FrameCounterTest : public DemoTest {
 protected:
  void SetUp() override {
    DemoTest::SetUp();
    makeSampleTexture();
    startDemo();
    compat::testing::setClock([] { return now; });
  }
  void TearDown() override {
    compat::testing::setClock(nullptr);
    DemoTest::TearDown();
  }
  std::string line() const { return messageText; }
};

TEST_F(FrameCounterTest, TheFirstFramesShowZeroAndASecondBringsTheCount) {
  EXPECT_EQ(line(), "FPS 0");
  now = 5000;
  runFrame();  // takes the interval's start: 5000
  EXPECT_TRUE(fpsIntervalStarted);
  EXPECT_EQ(fpsIntervalStart, 5000u);
  EXPECT_EQ(frameCount, 1);
  EXPECT_EQ(line(), "FPS 0");
  for (int frame = 2; frame <= 59; ++frame) {
    now = 5000 + static_cast<DWORD>(frame) * 16;
    runFrame();
  }
  EXPECT_EQ(line(), "FPS 0");
  now = 5999;  // 999 ms: not yet
  runFrame();
  EXPECT_EQ(line(), "FPS 0");
  EXPECT_EQ(frameCount, 60);
  now = 6000;  // exactly 1000 ms, on the 61st call
  runFrame();
  EXPECT_EQ(line(), "FPS 61");
  EXPECT_EQ(frameCount, 0);
  EXPECT_EQ(fpsIntervalStart, 6000u);
}

TEST_F(FrameCounterTest, AStallGivesOneUpdateWithThatIntervalsCount) {
  now = 100;
  runFrame();
  now = 300;
  runFrame();
  now = 2600;  // 2500 ms after the start
  runFrame();
  EXPECT_EQ(line(), "FPS 3");
  now = 2700;
  runFrame();
  EXPECT_EQ(line(), "FPS 3");
  EXPECT_EQ(frameCount, 1);
}

TEST_F(FrameCounterTest, TheClockMayWrapWithinAnInterval) {
  now = 4294967040u;
  runFrame();
  now = 743;  // 999 ms later, across the wrap
  runFrame();
  EXPECT_EQ(line(), "FPS 0");
  now = 744;  // 1000 ms
  runFrame();
  EXPECT_EQ(line(), "FPS 3");
}

TEST_F(FrameCounterTest, ANewLineShowsFromTheFrameAfterItsUpdate) {
  // The white box of the line is as wide as its text: wider for "FPS 60" than for "FPS 0".
  auto boxWidth = [] {
    const compat::CapturedFrame& frame = compat::headlessScreen().lastFrame();
    const uint8_t paper = frame.at(0, 0);
    int width = 0;
    while (width < frame.width && frame.at(width, 0) == paper) ++width;
    return width;
  };
  now = 1000;
  for (int call = 1; call <= 59; ++call) runFrame();
  const int zeroWidth = boxWidth();
  now = 2000;
  runFrame();  // the 60th call sees 1000 ms: "FPS 60", drawn from the next frame on
  EXPECT_EQ(line(), "FPS 60");
  EXPECT_EQ(boxWidth(), zeroWidth);
  runFrame();
  EXPECT_GT(boxWidth(), zeroWidth);
}
