// The demo's start-up: tables, the first line, the texture, and what ends it.
#include <sys/stat.h>

#include <cmath>
#include <cstdio>
#include <fstream>

#include "demo/startup.h"
#include "display/display_engine.h"
#include "host/shared_data.h"
#include "platform/compat/testing.h"
#include "tests/support/demo_fixture.h"
#include "tests/support/surface_access.h"

TEST_F(DemoTest, TrigonometricTablesUseTheFactorAsWritten) {
  makeSampleTexture();
  startDemo();
  EXPECT_EQ(cosTable[0], 1.0f);
  EXPECT_EQ(sinTable[0], 0.0f);
  EXPECT_EQ(sinTable[90], 1.0f);
  EXPECT_GT(cosTable[90], 0.0f);  // 0.017453292 is a little short of pi / 180
  EXPECT_NEAR(cosTable[90], 4.7e-8f, 1e-8f);
  EXPECT_EQ(cosTable[180], -1.0f);
  for (int i = 0; i < 360; ++i) {
    ASSERT_EQ(cosTable[i], static_cast<float>(std::cos(i * 0.017453292))) << i;
    ASSERT_EQ(sinTable[i], static_cast<float>(std::sin(i * 0.017453292))) << i;
  }
}

TEST_F(DemoTest, StartUpLeavesTheTextureInSlotThreeAndTheFirstLine) {
  makeSampleTexture();
  startDemo();
  EXPECT_STREQ(messageText, "FPS 0");
  EXPECT_EQ(displayEngine.surfaceCount, 6);
  EXPECT_EQ(displayEngine.fullscreen, 1);
  // The texture's pixels are the file's, through the palette read from the same file.
  std::ifstream file("texture.bmp", std::ios::binary);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), {});
  ASSERT_EQ(bytes.size(), 1078u + 128 * 128);
  PALETTEENTRY shown[256];
  displayPalette->GetEntries(0, 0, 256, shown);
  const support::Picture texture = support::readSurface(surfaces[3]);
  for (int y = 0; y < 128; ++y)
    for (int x = 0; x < 128; ++x) {
      const uint8_t fileIndex = bytes[1078 + (127 - y) * 128 + x];
      const PALETTEENTRY& got = shown[texture.at(x, y)];
      ASSERT_EQ(got.peRed, bytes[54 + 4 * fileIndex + 2]) << x << "," << y;
      ASSERT_EQ(got.peGreen, bytes[54 + 4 * fileIndex + 1]) << x << "," << y;
      ASSERT_EQ(got.peBlue, bytes[54 + 4 * fileIndex]) << x << "," << y;
    }
}

TEST_F(DemoTest, AMissingOrBrokenTextureEndsTheProgramWithTheFileNotFoundBox) {
  EXPECT_EXIT(startDemo(), testing::ExitedWithCode(1),
              "^エラーが発生したらしい\\(\\^\\^;: texture.bmp ファイルが見つかりません\n$");
  std::ofstream("texture.bmp") << "this is not a bitmap, though it is long enough to have a "
                                  "colour table's worth of bytes after byte fifty-four.";
  EXPECT_EXIT(startDemo(), testing::ExitedWithCode(1),
              "^エラーが発生したらしい\\(\\^\\^;: texture.bmp ファイルが見つかりません\n$");
}

TEST_F(DemoTest, ATextureThatIsNotARegularFileEndsTheProgramWithoutWaitingOnIt) {
  const char* const box =
      "^エラーが発生したらしい\\(\\^\\^;: texture.bmp ファイルが見つかりません\n$";
  // A named pipe with no writer would block a plain open for ever; a folder cannot be read.
  ASSERT_EQ(mkfifo("texture.bmp", 0600), 0);
  EXPECT_EXIT(startDemo(), testing::ExitedWithCode(1), box) << "a named pipe";
  ASSERT_EQ(std::remove("texture.bmp"), 0);
  ASSERT_TRUE(std::filesystem::create_directory("texture.bmp"));
  EXPECT_EXIT(startDemo(), testing::ExitedWithCode(1), box) << "a folder";
}

TEST_F(DemoTest, AFailedDisplaySetUpEndsTheProgramWithItsOwnBox) {
  makeSampleTexture();
  compat::testing::failCall(compat::testing::DirectDrawCall::CreateSurface, DDERR_OUTOFMEMORY);
  EXPECT_EXIT(startDemo(), testing::ExitedWithCode(1),
              "^エラーが発生したらしい\\(\\^\\^;: DirectDrawを初期化出来ません\\(;;\n$");
}
