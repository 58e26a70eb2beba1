// The block texture mapper against the closed form of its walk and the walk itself.
#include <cstdio>
#include <cstring>
#include <functional>
#include <random>

#include "demo/animation.h"
#include "demo/demo_slots.h"
#include "demo/mapper_paths.h"
#include "demo/texture_mapper.h"
#include "tests/support/engine_setup_fixture.h"
#include "tests/support/engine_slots_fixture.h"
#include "tests/support/reference_walk.h"

using compat::testing::DirectDrawCall;
using support::Picture;
using support::readSurface;
using support::writeSurface;

namespace {

void clearGrids() {
  std::memset(gridU, 0, sizeof gridU);
  std::memset(gridV, 0, sizeof gridV);
}

// Sets the four corners of block (0, 0) of one grid.
void setBlockCorners(int32_t (&grid)[gridColumns][gridRows], int32_t topLeft, int32_t topRight,
                     int32_t bottomLeft, int32_t bottomRight) {
  grid[0][0] = topLeft;
  grid[1][0] = topRight;
  grid[0][1] = bottomLeft;
  grid[1][1] = bottomRight;
}

// Random grid values of several kinds: small and smooth, large, wrapping, anything at all.
int32_t randomGridValue(std::mt19937& random, int kind) {
  switch (kind) {
    case 0:
      return std::uniform_int_distribution<int32_t>(-(1 << 20), 1 << 20)(random);
    case 1:
      return std::uniform_int_distribution<int32_t>(-(1 << 28), 1 << 28)(random);
    case 2: {  // near the wrapping point of 32 bits
      const int32_t offset = std::uniform_int_distribution<int32_t>(-(1 << 22), 1 << 22)(random);
      return static_cast<int32_t>(0x7FFFFFFFu + static_cast<uint32_t>(offset));
    }
    default:
      return static_cast<int32_t>(random());
  }
}

}  // namespace

class TextureMapperTest : public EngineSlotsTest {
 protected:
  void SetUp() override {
    EngineSlotsTest::SetUp();
    clearGrids();
  }

  // Texture row r, column c of slot 3 holds texel(c, r); the rest of the surface holds 0xEE.
  void writeTexture(const std::function<uint8_t(int, int)>& texel) {
    writeSurface(surfaces[3], [&](int x, int y) {
      return x < textureSide && y < textureSide ? texel(x, y) : uint8_t{0xEE};
    });
  }

  // Maps with the row-numbering and then the column-numbering texture, and returns for each
  // pixel of block (0, 0) the texel (row, column) it shows.
  std::vector<std::pair<int, int>> texelsOfFirstBlock() {
    writeTexture([](int, int row) { return static_cast<uint8_t>(row); });
    mapTextureBlocks();
    const Picture rows = readSurface(surfaces[2]);
    writeTexture([](int column, int) { return static_cast<uint8_t>(column); });
    mapTextureBlocks();
    const Picture columns = readSurface(surfaces[2]);
    std::vector<std::pair<int, int>> texels;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) texels.emplace_back(rows.at(x, y), columns.at(x, y));
    return texels;
  }

  // Every code path this processor runs draws exactly `expected` from the texture.
  static void expectEveryPathToDraw(const std::vector<uint8_t>& expected, const Picture& texture) {
    int pathsRun = 0;
    for (const mapper::Path& path : mapper::allPaths()) {
      if (!path.runsHere()) continue;
      SCOPED_TRACE(path.name);
      std::vector<uint8_t> drawn(pictureWidth * pictureHeight, 0xEE);
      renderTextureBlocksWith(path, texture.pixels.data(), texture.width, drawn.data());
      ASSERT_EQ(0, std::memcmp(drawn.data(), expected.data(), drawn.size()));
      ++pathsRun;
    }
    ASSERT_GE(pathsRun, 1);  // the portable path runs everywhere
  }
};

TEST(MapperPaths, TheChosenPathRunsHereAndThePortableOneIsLast) {
  const mapper::Path& chosen = mapper::chosenPath();
  EXPECT_TRUE(chosen.runsHere());
  EXPECT_TRUE(chosen.fastHere());
  EXPECT_STREQ(mapper::allPaths().back().name, "portable");
  std::printf("mapper path on this processor: %s\n", chosen.name);
}

TEST_F(TextureMapperTest, MatchesTheClosedFormAndThePlainWalkOnRandomGrids) {
  const unsigned seed = 20261209;
  std::mt19937 random(seed);
  SCOPED_TRACE(testing::Message() << "seed " << seed);
  writeTexture([&](int, int) { return static_cast<uint8_t>(random()); });
  const Picture texturePicture = readSurface(surfaces[3]);
  std::vector<uint8_t> walked(pictureWidth * pictureHeight);

  for (int grid = 0; grid < 120; ++grid) {
    SCOPED_TRACE(testing::Message() << "grid " << grid);
    const int kind = grid % 4;
    for (int k = 0; k < gridColumnsUsed; ++k)
      for (int r = 0; r < gridRowsUsed; ++r) {
        gridU[k][r] = randomGridValue(random, kind);
        gridV[k][r] = randomGridValue(random, kind);
      }
    mapTextureBlocks();
    const Picture picture = readSurface(surfaces[2]);
    for (int y = 0; y < pictureHeight; ++y)
      for (int x = 0; x < pictureWidth; ++x)
        ASSERT_EQ(picture.at(x, y),
                  reference::closedFormPixel(texturePicture.pixels.data(), 320, x, y))
            << "pixel " << x << "," << y;
    reference::plainWalk(texturePicture.pixels.data(), 320, walked.data());
    ASSERT_EQ(0, std::memcmp(walked.data(), picture.pixels.data(), walked.size()));
    expectEveryPathToDraw(walked, texturePicture);
  }
}

TEST_F(TextureMapperTest, AnimationFramesMatchTheClosedForm) {
  std::mt19937 random(7);
  writeTexture([&](int, int) { return static_cast<uint8_t>(random()); });
  const Picture texturePicture = readSurface(surfaces[3]);
  for (int frame = 0; frame < 900; ++frame) {
    advanceAnimation();
    if (frame % 37 != 0 && frame != 298 && frame != 299) continue;
    SCOPED_TRACE(frame);
    mapTextureBlocks();
    const Picture picture = readSurface(surfaces[2]);
    for (int y = 0; y < pictureHeight; ++y)
      for (int x = 0; x < pictureWidth; ++x)
        ASSERT_EQ(picture.at(x, y),
                  reference::closedFormPixel(texturePicture.pixels.data(), 320, x, y))
            << "pixel " << x << "," << y;
    expectEveryPathToDraw(picture.pixels, texturePicture);
  }
}

TEST_F(TextureMapperTest, BlocksWithKnownCornersShowKnownTexels) {
  constexpr int32_t one = 65536;  // one texel in 16.16
  struct Case {
    const char* name;
    int32_t v[4];  // top-left, top-right, bottom-left, bottom-right
    int32_t u[4];
    std::function<std::pair<int, int>(int px, int py)> texel;  // (row, column)
  };
  const Case cases[] = {
      {"all zero",
       {0, 0, 0, 0},
       {0, 0, 0, 0},
       [](int, int) {
         return std::pair{0, 0};
       }},
      {"rows step along x",
       {0, 16 * one, 0, 16 * one},
       {0, 0, 0, 0},
       [](int px, int) {
         return std::pair{px, 0};
       }},
      {"rows step down",
       {0, 0, 16 * one, 16 * one},
       {0, 0, 0, 0},
       [](int, int py) {
         return std::pair{py, 0};
       }},
      {"columns step along x",
       {0, 0, 0, 0},
       {0, 16 * one, 0, 16 * one},
       [](int px, int) {
         return std::pair{0, px};
       }},
      {"equal corners",
       {5 * one + 7, 5 * one + 7, 5 * one + 7, 5 * one + 7},
       {77 * one + 3, 77 * one + 3, 77 * one + 3, 77 * one + 3},
       [](int, int) {
         return std::pair{5, 77};
       }},
      // The step along a row widens by one texel per row: (V11 - V01) / 16 - stepX = 16 texels.
      {"steps grow down the block",
       {0, 0, 0, 256 * one},
       {0, 0, 0, 0},
       [](int px, int py) {
         return std::pair{(px * py) & 0x7F, 0};
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    setBlockCorners(gridV, c.v[0], c.v[1], c.v[2], c.v[3]);
    setBlockCorners(gridU, c.u[0], c.u[1], c.u[2], c.u[3]);
    const auto texels = texelsOfFirstBlock();
    for (int py = 0; py < 16; ++py)
      for (int px = 0; px < 16; ++px)
        ASSERT_EQ(texels[py * 16 + px], c.texel(px, py)) << "pixel " << px << "," << py;
  }
}

TEST_F(TextureMapperTest, StepsAreCornerDifferencesShiftedTowardMinusInfinity) {
  // Along the top row of block (0, 0): v = start + px * step, with step = difference >> 4.
  // The first pixel whose texel row changes tells the step apart from a rounded-to-zero one.
  struct Case {
    int32_t difference;
    int32_t start;
    int firstChanged;  // 16: none
    int rowAfter;
  };
  const Case cases[] = {
      {-1, 0, 1, 127},     // step -1
      {15, 65535, 16, 0},  // step 0
      {16, 65531, 5, 1},   // step 1
      {-16, 3, 4, 127},    // step -1
      {-17, 7, 4, 127},    // step -2; rounding toward zero would give -1 and pixel 8
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "difference " << c.difference);
    const int32_t end = c.start + c.difference;
    setBlockCorners(gridV, c.start, end, c.start, end);
    const auto texels = texelsOfFirstBlock();
    for (int px = 0; px < 16; ++px)
      ASSERT_EQ(texels[px].first, px < c.firstChanged ? 0 : c.rowAfter) << "pixel " << px;
  }
}

TEST_F(TextureMapperTest, CoordinatesWrapToTheTextureOnBothAxes) {
  const struct {
    int64_t value;
    int texel;
  } cases[] = {
      {-1, 127},         {-65536, 127},  {-65537, 126}, {128 * 65536, 0}, {128 * 65536 - 1, 127},
      {0x7FFFFFFF, 127}, {INT32_MIN, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    const int32_t value = static_cast<int32_t>(c.value);
    setBlockCorners(gridV, value, value, value, value);
    setBlockCorners(gridU, 0, 0, 0, 0);
    EXPECT_EQ(texelsOfFirstBlock()[37], (std::pair{c.texel, 0}));
    setBlockCorners(gridV, 0, 0, 0, 0);
    setBlockCorners(gridU, value, value, value, value);
    EXPECT_EQ(texelsOfFirstBlock()[37], (std::pair{0, c.texel}));
  }
}

TEST_F(TextureMapperTest, TextureRowsAreTheLockedPitchApart) {
  // Texture surfaces of other widths have other pitches; rows are read that far apart.
  for (int width : {128, 132, 200, 640}) {
    SCOPED_TRACE(width);
    putSurface(3, width, 130);
    std::mt19937 random(static_cast<unsigned>(width));
    for (int k = 0; k < gridColumnsUsed; ++k)
      for (int r = 0; r < gridRowsUsed; ++r) {
        gridU[k][r] = randomGridValue(random, 1);
        gridV[k][r] = randomGridValue(random, 1);
      }
    writeSurface(surfaces[3], [&](int, int) { return static_cast<uint8_t>(random()); });
    const Picture texture = readSurface(surfaces[3]);
    mapTextureBlocks();
    const Picture picture = readSurface(surfaces[2]);
    for (int y = 0; y < pictureHeight; ++y)
      for (int x = 0; x < pictureWidth; ++x)
        ASSERT_EQ(picture.at(x, y), reference::closedFormPixel(texture.pixels.data(), width, x, y))
            << "pixel " << x << "," << y;
  }
}

TEST_F(TextureMapperTest, WritesNothingWhenALockFailsOrASlotIsTooSmall) {
  writeSurface(surfaces[2], [](int, int) { return uint8_t{0x5A}; });
  writeSurface(surfaces[3], [](int, int) { return uint8_t{0x11}; });
  const Picture untouched = readSurface(surfaces[2]);

  // Slot 2's lock fails, then slot 3's; the other lock is given back each time.
  for (int skip : {0, 1}) {
    SCOPED_TRACE(testing::Message() << "failing lock " << skip);
    compat::testing::failCall(DirectDrawCall::Lock, DDERR_SURFACELOST, skip);
    mapTextureBlocks();
    EXPECT_EQ(readSurface(surfaces[2]), untouched);
    EXPECT_EQ(readSurface(surfaces[3]).at(0, 0), 0x11);  // lockable again
  }

  const struct {
    int slot, width, height;
  } small[] = {{2, 319, 240}, {2, 320, 239}, {3, 127, 128}, {3, 128, 127}};
  for (const auto& s : small) {
    SCOPED_TRACE(testing::Message() << "slot " << s.slot << " " << s.width << "x" << s.height);
    putSurface(s.slot, s.width, s.height);
    writeSurface(surfaces[s.slot], [](int, int) { return uint8_t{0x5A}; });
    const Picture before = readSurface(surfaces[2]);
    mapTextureBlocks();
    EXPECT_EQ(readSurface(surfaces[2]), before);
    putSurface(s.slot, 320, 240);
    writeSurface(surfaces[s.slot], [](int, int) { return uint8_t{0x5A}; });
  }

  // At exactly the picture's and the texture's size it draws.
  putSurface(3, 128, 128);
  writeSurface(surfaces[3], [](int, int) { return uint8_t{0x11}; });
  mapTextureBlocks();
  EXPECT_EQ(readSurface(surfaces[2]).at(319, 239), 0x11);
}

TEST_F(EngineSetupTest, TheMapperAfterShutdownWritesNothing) {
  setUpFullScreen();
  mapTextureBlocks();  // records the locks of the picture and texture slots
  displayEngine.shutdownDisplay();
  // The surfaces are freed now; a frame that still comes must not write through their memory.
  mapTextureBlocks();
  EXPECT_EQ(surfaceBits[pictureSlot], nullptr);
  EXPECT_EQ(surfaceBits[textureSlot], nullptr);
}
