// Whole frames of the demo, as presented on the headless screen, against an independent
// computation of the same frames from the grid: the closed form of the mapper's walk over the
// texture as the file holds it, compared by colour outside the FPS box.
#include <fstream>
#include <set>

#include "demo/animation.h"
#include "host/shared_data.h"
#include "platform/headless/headless_screen.h"
#include "tests/support/demo_fixture.h"
#include "tests/support/reference_walk.h"

TEST_F(DemoTest, PresentedFramesMatchTheClosedFormOfTheWalk) {
  makeSampleTexture();
  std::ifstream file("texture.bmp", std::ios::binary);
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), {});
  ASSERT_EQ(bytes.size(), 1078u + 128 * 128);
  // The texture as the file has it: file indices, rows top to bottom, 128-byte pitch.
  std::vector<uint8_t> texture(128 * 128);
  for (int y = 0; y < 128; ++y)
    for (int x = 0; x < 128; ++x) texture[y * 128 + x] = bytes[1078 + (127 - y) * 128 + x];
  auto fileColour = [&](uint8_t index) {
    return std::array<uint8_t, 3>{bytes[54 + 4 * index + 2], bytes[54 + 4 * index + 1],
                                  bytes[54 + 4 * index]};
  };

  startDemo();
  const std::set<int> checked = {0, 1, 298, 299, 300};
  int frame = 0;
  int compared = 0;
  compat::headlessScreen().setFrameCallback(
      [&](const compat::IndexedFrame& shown, const compat::Palette& palette) {
        if (!checked.count(frame++)) return;
        SCOPED_TRACE(testing::Message() << "frame " << frame - 1 << ", zoom " << zoom);
        ASSERT_EQ(shown.width, 320);
        ASSERT_EQ(shown.height, 240);
        // The FPS line's box: its text's extent in the default font, at most this large.
        const int boxRight = 64, boxBottom = 18;
        for (int y = 0; y < 240; ++y)
          for (int x = 0; x < 320; ++x) {
            if (x < boxRight && y < boxBottom) continue;
            const compat::PaletteColour& got = palette[shown.pixels[y * shown.pitch + x]];
            const auto expected = fileColour(reference::closedFormPixel(texture.data(), 128, x, y));
            ASSERT_EQ((std::array<uint8_t, 3>{got.red, got.green, got.blue}), expected)
                << "pixel " << x << "," << y;
          }
        ++compared;
      });
  for (int i = 0; i <= 300; ++i) runFrame();
  compat::headlessScreen().setFrameCallback(nullptr);
  EXPECT_EQ(compared, 5);
}
