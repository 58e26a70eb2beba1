// The picture's format and size read from its first bytes, before decoding: each format's
// layout (sizes big-endian, little-endian, 14-bit, 24-bit), the segments and blocks before the
// size, and files cut short or not pictures at all.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tools/picture_header.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes bytes(std::initializer_list<int> values) { return Bytes(values.begin(), values.end()); }

Bytes operator+(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

Bytes text(const std::string& s) { return Bytes(s.begin(), s.end()); }

TEST(PictureHeader, ReadsEachFormatsSize) {
  struct Case {
    const char* name;
    Bytes file;
    PictureFormat format;
    std::int64_t width, height;
  };
  const Bytes png = bytes({0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13}) +
                    text("IHDR") + bytes({0, 0, 0x4E, 0x20, 0, 1, 0, 0, 8, 2, 0, 0, 0});
  // A JPEG with an Exif segment, a fill byte and a table before its frame header.
  const Bytes jpeg = bytes({0xFF, 0xD8, 0xFF, 0xE1, 0,    6, 'E', 'x', 'i',  'f',  0xFF, 0xFF, 0xDB,
                            0,    3,    0,    0xFF, 0xC2, 0, 11,  8,   0x01, 0xE0, 0x02, 0x80, 3});
  const Bytes gifScreen = text("GIF89a") + bytes({0x40, 0x01, 0xF0, 0x00, 0x81, 0, 0}) +
                          Bytes(12, 0);  // global table of 4 colours
  // An extension block of two sub-blocks, then a frame larger than the screen.
  const Bytes gif = gifScreen + bytes({0x21, 0xF9, 2, 0, 0, 1, 0, 0, 0x2C, 0, 0, 0, 0, 0x00, 0x02,
                                       0x10, 0x00, 0});
  const Bytes riff = text("RIFF") + bytes({0, 0, 0, 0}) + text("WEBP");
  const Bytes vp8x =
      riff + text("VP8X") + bytes({10, 0, 0, 0, 0, 0, 0, 0, 0x3F, 0x1F, 0, 0xFF, 0x0F, 0, 0, 0});
  // VP8L: width-1 and height-1 in 14 bits each, after the 0x2F signature.
  const std::uint32_t vp8lBits = (700 - 1) | (300 - 1) << 14;
  const Bytes vp8l = riff + text("VP8L") +
                     bytes({5, 0, 0, 0, 0x2F, int(vp8lBits & 0xFF), int(vp8lBits >> 8 & 0xFF),
                            int(vp8lBits >> 16 & 0xFF), int(vp8lBits >> 24), 0, 0, 0, 0, 0});
  const Bytes vp8 = riff + text("VP8 ") +
                    bytes({10, 0, 0, 0, 0, 0, 0, 0x9D, 0x01, 0x2A, 0x40, 0x41, 0x20, 0x00, 0, 0});
  const Bytes bmpHeader = text("BM") + Bytes(12, 0);
  const Bytes bmpTopDown = bmpHeader + bytes({40, 0, 0, 0, 0x20, 3, 0, 0, 0x38, 0xFF, 0xFF, 0xFF});
  const Bytes bmpCore = bmpHeader + bytes({12, 0, 0, 0, 0x10, 0, 0x20, 0, 1, 0, 24, 0});
  for (const Case& c : {
           Case{"PNG", png, PictureFormat::png, 20000, 65536},
           Case{"JPEG", jpeg, PictureFormat::jpeg, 640, 480},
           Case{"GIF, frame larger than screen", gif, PictureFormat::gif, 512, 240},
           Case{"WebP VP8X", vp8x, PictureFormat::webp, 8000, 4096},
           Case{"WebP VP8L", vp8l, PictureFormat::webp, 700, 300},
           Case{"WebP VP8", vp8, PictureFormat::webp, 320, 32},
           Case{"BMP top-down", bmpTopDown, PictureFormat::bmp, 800, 200},
           Case{"BMP OS/2", bmpCore, PictureFormat::bmp, 16, 32},
       }) {
    SCOPED_TRACE(c.name);
    const PictureHeader header = readPictureHeader(c.file);
    EXPECT_EQ(header.problem, "");
    EXPECT_EQ(header.format, c.format);
    EXPECT_EQ(header.width, c.width);
    EXPECT_EQ(header.height, c.height);
    // Every start of the file gives the same size or a problem, never a size read past its
    // end (the sanitizers watch the reads).
    for (std::size_t length = 0; length < c.file.size(); ++length) {
      const PictureHeader cut = readPictureHeader(Bytes(c.file.begin(), c.file.begin() + length));
      if (!cut.problem.empty()) continue;
      EXPECT_EQ(cut.width, c.width) << "length " << length;
      EXPECT_EQ(cut.height, c.height) << "length " << length;
    }
  }
}

TEST(PictureHeader, RefusesWhatIsNotAPicture) {
  struct Case {
    const char* name;
    Bytes file;
    std::string problem;
  };
  for (const Case& c : {
           Case{"empty", {}, "not a PNG, JPEG, GIF, WebP or BMP picture"},
           Case{"text", text("hello, world\n"), "not a PNG, JPEG, GIF, WebP or BMP picture"},
           Case{"PNG signature alone", bytes({0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}),
                "the PNG file is cut short"},
           Case{"JPEG without a frame", bytes({0xFF, 0xD8, 0xFF, 0xD9}),
                "the JPEG file is cut short"},
           Case{"JPEG segment of length 0", bytes({0xFF, 0xD8, 0xFF, 0xE0, 0, 0, 0xFF, 0xC0}),
                "the JPEG file is cut short"},
           Case{"RIFF of another kind", text("RIFF....WAVEfmt ") + Bytes(20, 0),
                "not a PNG, JPEG, GIF, WebP or BMP picture"},
       }) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(readPictureHeader(c.file).problem, c.problem);
  }
}

}  // namespace
