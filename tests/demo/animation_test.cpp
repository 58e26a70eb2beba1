// The animation of zoom and angle, and the grid of texture coordinates it computes.
#include <gtest/gtest.h>

#include <cmath>

#include "demo/animation.h"

TEST(Animation, FirstFrameGridPoints) {
  advanceAnimation();
  EXPECT_EQ(zoom, 0.4f);
  EXPECT_EQ(angle, 2.0f);
  const struct {
    int column, row;
    int32_t u, v;
  } points[] = {
      {10, 7, 0, 0},             // the centre maps to texel (0, 0)
      {11, 7, 26198, 914},       // one step right
      {10, 8, -914, 26198},      // one step down
      {0, 0, -255576, -192534},  // -255576.33 truncates toward zero
  };
  for (const auto& p : points) {
    SCOPED_TRACE(testing::Message() << "(" << p.column << ", " << p.row << ")");
    EXPECT_EQ(gridU[p.column][p.row], p.u);
    EXPECT_EQ(gridV[p.column][p.row], p.v);
  }
}

TEST(Animation, ZoomRunsAThreeHundredFrameCycle) {
  float zooms[900];
  for (float& z : zooms) {
    advanceAnimation();
    z = zoom;
  }
  EXPECT_EQ(zooms[0], 0.4f);
  EXPECT_FLOAT_EQ(zooms[298], 89.80015f);
  EXPECT_EQ(zooms[299], 0.1f);
  EXPECT_EQ(zooms[300], 0.4f);
  for (int frame = 1; frame < 299; ++frame) {
    SCOPED_TRACE(frame);
    ASSERT_GT(zooms[frame], zooms[frame - 1]);
    ASSERT_NEAR(zooms[frame] - zooms[frame - 1], 0.3f, 1e-4f);
  }
  for (int frame = 300; frame < 900; ++frame) ASSERT_EQ(zooms[frame], zooms[frame - 300]) << frame;
  // The angle is never reduced: 2 degrees a frame, exactly, for this many frames.
  EXPECT_EQ(angle, 1800.0f);
}

TEST(Animation, GridIsTheRotatedAndScaledOffsetFromTheCentre) {
  // An independent check in long double: each point within a few 1/65536 of a texel.
  for (int frame = 0; frame < 900; ++frame) {
    advanceAnimation();
    const long double radians = static_cast<long double>(angle) * 3.1415926535L / 180;
    for (int r = 0; r < gridRowsUsed; ++r)
      for (int k = 0; k < gridColumnsUsed; ++k) {
        const long double x = k - gridCentreColumn, y = r - gridCentreRow;
        const long double u = (std::cos(radians) * x - std::sin(radians) * y) * zoom * 65535;
        const long double v = (std::sin(radians) * x + std::cos(radians) * y) * zoom * 65535;
        const long double tolerance = 4 + 1e-5L * std::fabs(u) + 1e-5L * std::fabs(v);
        ASSERT_NEAR(static_cast<double>(gridU[k][r]), static_cast<double>(u),
                    static_cast<double>(tolerance))
            << "frame " << frame << " point " << k << "," << r;
        ASSERT_NEAR(static_cast<double>(gridV[k][r]), static_cast<double>(v),
                    static_cast<double>(tolerance))
            << "frame " << frame << " point " << k << "," << r;
      }
    ASSERT_EQ(gridU[gridCentreColumn][gridCentreRow], 0);
    ASSERT_EQ(gridV[gridCentreColumn][gridCentreRow], 0);
  }
}

TEST(Animation, PointsOutsideTheUsedGridStayZero) {
  for (int frame = 0; frame < 350; ++frame) advanceAnimation();
  for (int k = 0; k < gridColumns; ++k)
    for (int r = 0; r < gridRows; ++r) {
      if (k < gridColumnsUsed && r < gridRowsUsed) continue;
      ASSERT_EQ(gridU[k][r], 0) << k << "," << r;
      ASSERT_EQ(gridV[k][r], 0) << k << "," << r;
    }
}
