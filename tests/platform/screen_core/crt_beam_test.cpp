// Where the CRT look's beam lines lie: how many screen lines each gets, where their centres
// fall, and how the effect fades on screens with too few lines for it.
#include "platform/screen_core/crt_beam.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>

namespace {

TEST(CrtBeam, DepthIsFullFromTwoScreenLinesToABeamLineAndNoneUnderOneAndAHalf) {
  struct Case {
    int rectHeight;
    int pictureHeight;
    float depth;  // -1: strictly between 0 and 1
  };
  const Case cases[] = {
      {960, 240, 1.0f}, {1080, 240, 1.0f}, {2160, 240, 1.0f}, {720, 240, 0.0f},
      {600, 240, 0.0f}, {300, 240, 0.0f},  {768, 240, -1.0f}, {900, 240, -1.0f},
      {960, 480, 1.0f}, {720, 480, 0.0f},  {840, 480, -1.0f},  // 480 lines: scanned once
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.rectHeight << " screen lines for " << c.pictureHeight);
    const compat::CrtBeam beam = compat::crtBeam({0, 0, 100, c.rectHeight}, c.pictureHeight);
    if (c.depth < 0) {
      EXPECT_GT(beam.depth, 0.0f);
      EXPECT_LT(beam.depth, 1.0f);
    } else {
      EXPECT_EQ(beam.depth, c.depth);
    }
  }
  // Smoothly: more lines never less depth.
  float last = 0;
  for (int height = 600; height <= 1000; ++height) {
    const float depth = compat::crtBeam({0, 0, 100, height}, 240).depth;
    EXPECT_GE(depth, last) << height;
    last = depth;
  }
}

TEST(CrtBeam, PicturesUnder300LinesAreScannedTwice) {
  // VGA's 200- and 240-line modes were scanned twice; 400 x 300 and above once.
  for (const auto& [lines, beamLines] :
       {std::pair{200, 2.0f}, std::pair{240, 2.0f}, std::pair{299, 2.0f}, std::pair{300, 1.0f},
        std::pair{301, 1.0f}, std::pair{480, 1.0f}, std::pair{600, 1.0f}}) {
    EXPECT_EQ(compat::crtBeam({0, 0, 1280, 960}, lines).linesPerRow, beamLines)
        << lines << " lines";
  }
}

TEST(CrtBeam, TheFirstBeamCentreFallsOnAScreenLineCentreAndAllDoAtWholeCounts) {
  // The shader's beam coordinate at a screen row's centre is (y + 1/2) / lines + phase, with
  // centres where it is i + 1/2.
  for (const int height : {960, 1080, 1200, 1440, 2160, 1000}) {
    SCOPED_TRACE(height);
    const compat::CrtBeam beam = compat::crtBeam({0, 0, 100, height}, 240);
    const double lines = height / 480.0;
    EXPECT_FLOAT_EQ(beam.halfScreenLine, static_cast<float>(0.5 / lines));
    // Beam 0's centre, in screen lines from the top.
    const double centre = (0.5 - beam.phase) * lines;
    EXPECT_NEAR(centre - std::floor(centre), 0.5, 1e-4);
    EXPECT_LE(std::abs(centre - 0.5 * lines), 0.5 + 1e-4);  // moved half a line at most
    if (lines == std::floor(lines))
      for (int i = 1; i < 480; i += 37) {
        const double at = (i + 0.5 - beam.phase) * lines;
        EXPECT_NEAR(at - std::floor(at), 0.5, 1e-3) << "beam " << i;
      }
  }
}

TEST(CrtBeam, EmptyRectanglesGiveNoEffect) {
  EXPECT_EQ(compat::crtBeam({0, 0, 0, 0}, 240).depth, 0.0f);
  EXPECT_EQ(compat::crtBeam({0, 0, 100, 100}, 0).depth, 0.0f);
}

}  // namespace
