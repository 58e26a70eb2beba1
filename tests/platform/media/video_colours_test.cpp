// The picture's colours as the encoders take them: BT.709 limited-range Y'CbCr, each picture
// pixel a solid block whose chroma samples belong to it alone, and bgr0 for the lossless
// video; nothing written outside the planes whatever the pitch.
#include <gtest/gtest.h>

#include <vector>

#include "platform/media/video_colours.h"

namespace {

constexpr std::uint8_t guard = 0xA5;

// A picture holding index y * 16 + x at (x, y), in rows of `pitch` bytes whose padding holds
// 255: a row read from the wrong place shows a colour out of its place.
struct IndexedPicture {
  IndexedPicture(int width, int height, int pitch) : pixels(pitch * height, 0xFF) {
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) pixels[y * pitch + x] = static_cast<std::uint8_t>(y * 16 + x);
    frame = {pixels.data(), width, height, pitch};
  }
  std::vector<std::uint8_t> pixels;
  compat::IndexedFrame frame;
};

// Every entry its own colour.
compat::Palette distinctPalette() {
  compat::Palette palette{};
  for (int i = 0; i < 256; ++i)
    palette[i] = {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
                  static_cast<std::uint8_t>((i * 37) & 0xFF), 0};
  return palette;
}

// A plane with `pitch` bytes a row and a guard row below, all guard bytes to begin with.
struct GuardedPlane {
  GuardedPlane(int width, int height, int pitch)
      : width(width), height(height), pitch(pitch), bytes(pitch * (height + 1), guard) {}
  std::uint8_t at(int x, int y) const { return bytes[y * pitch + x]; }
  // Whether every byte outside width x height still holds the guard.
  bool outsideUntouched() const {
    for (int y = 0; y <= height; ++y)
      for (int x = 0; x < pitch; ++x)
        if ((y == height || x >= width) && bytes[y * pitch + x] != guard) return false;
    return true;
  }
  int width, height, pitch;
  std::vector<std::uint8_t> bytes;
};

TEST(VideoColours, StudioColoursAreBt709LimitedRange) {
  struct Row {
    std::uint8_t red, green, blue;
    video::StudioColour expected;
  };
  // The published BT.709 8-bit values of the primaries, black, white and mid grey.
  const Row rows[] = {
      {0, 0, 0, {16, 128, 128}},     {255, 255, 255, {235, 128, 128}},
      {255, 0, 0, {63, 102, 240}},   {0, 255, 0, {173, 42, 26}},
      {0, 0, 255, {32, 240, 118}},   {128, 128, 128, {126, 128, 128}},
      {255, 255, 0, {219, 16, 138}}, {0, 255, 255, {188, 154, 16}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message()
                 << int(row.red) << "," << int(row.green) << "," << int(row.blue));
    const video::StudioColour colour = video::studioColourOf(row.red, row.green, row.blue);
    EXPECT_EQ(colour.luma, row.expected.luma);
    EXPECT_EQ(colour.blue, row.expected.blue);
    EXPECT_EQ(colour.red, row.expected.red);
  }
}

TEST(VideoColours, EachPicturePixelIsABlockWithChromaOfItsOwn) {
  const compat::Palette palette = distinctPalette();
  const IndexedPicture picture(16, 16, 20);
  for (int factor : {2, 4}) {
    SCOPED_TRACE(testing::Message() << "factor " << factor);
    const int size = 16 * factor;
    GuardedPlane luma(size, size, size + 8);
    GuardedPlane blue(size / 2, size / 2, size / 2 + 8);
    GuardedPlane red(size / 2, size / 2, size / 2 + 8);
    video::writeStudioBlocks(picture.frame, palette, factor,
                             {{luma.bytes.data(), blue.bytes.data(), red.bytes.data()},
                              {luma.pitch, blue.pitch, red.pitch}});
    int wrong = 0;
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x) {
        const auto& c = palette[(y / factor) * 16 + x / factor];
        wrong += luma.at(x, y) != video::studioColourOf(c.red, c.green, c.blue).luma;
      }
    // A chroma sample covers luma 2x..2x+1, 2y..2y+1: always inside one picture pixel.
    for (int y = 0; y < size / 2; ++y)
      for (int x = 0; x < size / 2; ++x) {
        const auto& c = palette[(2 * y / factor) * 16 + 2 * x / factor];
        const video::StudioColour expected = video::studioColourOf(c.red, c.green, c.blue);
        wrong += blue.at(x, y) != expected.blue;
        wrong += red.at(x, y) != expected.red;
      }
    EXPECT_EQ(wrong, 0);
    EXPECT_TRUE(luma.outsideUntouched());
    EXPECT_TRUE(blue.outsideUntouched());
    EXPECT_TRUE(red.outsideUntouched());
  }
}

TEST(VideoColours, Bgr0HoldsThePaletteColoursInItsByteOrder) {
  const compat::Palette palette = distinctPalette();
  const IndexedPicture picture(16, 16, 20);
  GuardedPlane out(16 * 4, 16, 16 * 4 + 12);
  video::writeBgr0(picture.frame, palette, out.bytes.data(), out.pitch);
  int wrong = 0;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      const auto& c = palette[y * 16 + x];
      wrong += out.at(4 * x, y) != c.blue || out.at(4 * x + 1, y) != c.green ||
               out.at(4 * x + 2, y) != c.red || out.at(4 * x + 3, y) != 0;
    }
  EXPECT_EQ(wrong, 0);
  EXPECT_TRUE(out.outsideUntouched());
}

}  // namespace
