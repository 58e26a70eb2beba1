#include "tests/support/bmp_files.h"

#include <fstream>
#include <random>

namespace support {
namespace {

void put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(v & 0xFF);
  out.push_back((v >> 8) & 0xFF);
}
void put32(std::vector<uint8_t>& out, uint32_t v) {
  put16(out, v & 0xFFFF);
  put16(out, v >> 16);
}

}  // namespace

TemporaryFolder::TemporaryFolder() {
  std::random_device random;
  folder_ = std::filesystem::temp_directory_path() /
            ("rotozoom-test-" + std::to_string(random()) + std::to_string(random()));
  std::filesystem::create_directories(folder_);
}

TemporaryFolder::~TemporaryFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
}

std::string TemporaryFolder::write(const std::string& name,
                                   const std::vector<uint8_t>& bytes) const {
  const std::filesystem::path file = path(name);
  std::ofstream out(file, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return file.string();
}

std::vector<uint8_t> eightBitBmp(int width, int height, uint32_t (*colour)(int),
                                 uint8_t (*pixel)(int, int)) {
  const uint32_t stride = (static_cast<uint32_t>(width) + 3) & ~3u;
  const uint32_t pixelBytes = stride * static_cast<uint32_t>(height);
  std::vector<uint8_t> out;
  out.push_back('B');
  out.push_back('M');
  put32(out, 1078 + pixelBytes);
  put32(out, 0);
  put32(out, 1078);
  put32(out, 40);
  put32(out, static_cast<uint32_t>(width));
  put32(out, static_cast<uint32_t>(height));
  put16(out, 1);
  put16(out, 8);
  put32(out, 0);  // no compression
  put32(out, pixelBytes);
  put32(out, 2835);
  put32(out, 2835);
  put32(out, 256);
  put32(out, 0);
  for (int i = 0; i < 256; ++i) put32(out, colour(i));
  for (int y = height - 1; y >= 0; --y) {
    for (int x = 0; x < width; ++x) out.push_back(pixel(x, y));
    for (uint32_t pad = static_cast<uint32_t>(width); pad < stride; ++pad) out.push_back(0);
  }
  return out;
}

std::vector<uint8_t> bmpFile(const BmpSpec& spec) {
  const int bits = spec.bitsPerPixel;
  const bool indexed = bits <= 8;
  const uint32_t tableEntries = indexed ? static_cast<uint32_t>(spec.colours.size()) : 0;
  auto indexOf = [&](uint32_t colour) {
    for (size_t i = 0; i < spec.colours.size(); ++i)
      if (spec.colours[i] == colour) return static_cast<uint32_t>(i);
    return 0u;
  };
  // The pixel rows in file order, each padded to four bytes.
  std::vector<uint8_t> data;
  const uint32_t stride = ((static_cast<uint32_t>(spec.width) * bits + 31) / 32) * 4;
  for (int r = 0; r < spec.height; ++r) {
    const int y = spec.topDown ? r : spec.height - 1 - r;
    const uint32_t* row = &spec.pixels[static_cast<size_t>(y) * spec.width];
    if (spec.rle8) {
      for (int x = 0; x < spec.width; ++x) {  // runs of one pixel: simple, and valid
        data.push_back(1);
        data.push_back(static_cast<uint8_t>(indexOf(row[x])));
      }
      data.push_back(0);
      data.push_back(0);  // end of line
      continue;
    }
    std::vector<uint8_t> bytes(stride, 0);
    for (int x = 0; x < spec.width; ++x) {
      const uint32_t c = row[x];
      switch (bits) {
        case 1:
          bytes[x / 8] |= static_cast<uint8_t>(indexOf(c) << (7 - x % 8));
          break;
        case 4:
          bytes[x / 2] |= static_cast<uint8_t>(indexOf(c) << (x % 2 ? 0 : 4));
          break;
        case 8:
          bytes[x] = static_cast<uint8_t>(indexOf(c));
          break;
        case 24:
        case 32: {
          const size_t at = static_cast<size_t>(x) * (bits / 8);
          bytes[at] = c & 0xFF;
          bytes[at + 1] = (c >> 8) & 0xFF;
          bytes[at + 2] = (c >> 16) & 0xFF;
          break;
        }
      }
    }
    data.insert(data.end(), bytes.begin(), bytes.end());
  }
  if (spec.rle8) {
    data.push_back(0);
    data.push_back(1);  // end of bitmap
  }
  const uint32_t offset = 54 + 4 * tableEntries;
  std::vector<uint8_t> out;
  out.push_back('B');
  out.push_back('M');
  put32(out, offset + static_cast<uint32_t>(data.size()));
  put32(out, 0);
  put32(out, offset);
  put32(out, 40);
  put32(out, static_cast<uint32_t>(spec.width));
  put32(out, static_cast<uint32_t>(spec.topDown ? -spec.height : spec.height));
  put16(out, 1);
  put16(out, static_cast<uint32_t>(bits));
  put32(out, spec.rle8 ? 1 : 0);  // BI_RLE8 or BI_RGB
  put32(out, static_cast<uint32_t>(data.size()));
  put32(out, 2835);
  put32(out, 2835);
  put32(out, tableEntries);
  put32(out, 0);
  if (indexed)
    for (uint32_t colour : spec.colours) put32(out, colour);
  out.insert(out.end(), data.begin(), data.end());
  return out;
}

void overwrite16(std::vector<uint8_t>& file, size_t at, uint16_t value) {
  file.at(at) = static_cast<uint8_t>(value);
  file.at(at + 1) = static_cast<uint8_t>(value >> 8);
}

void overwrite32(std::vector<uint8_t>& file, size_t at, uint32_t value) {
  overwrite16(file, at, static_cast<uint16_t>(value));
  overwrite16(file, at + 2, static_cast<uint16_t>(value >> 16));
}

}  // namespace support
