#include "tests/support/bmp_files.h"

#include <fstream>
#include <random>

#include "tools/texture/bmp_writer.h"

namespace support {
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
  const uint32_t stride = bmp::rowBytes(width, 8);
  std::vector<uint32_t> table(256);
  for (int i = 0; i < 256; ++i) table[i] = colour(i);
  std::vector<uint8_t> data;
  data.reserve(static_cast<size_t>(stride) * height);
  for (int y = height - 1; y >= 0; --y) {
    for (int x = 0; x < width; ++x) data.push_back(pixel(x, y));
    data.resize(data.size() + stride - static_cast<uint32_t>(width), 0);
  }
  return bmp::file({width, height, 8, 0}, table, data);
}

std::vector<uint8_t> bmpFile(const BitmapPicture& picture) {
  const int bits = picture.bitsPerPixel;
  auto indexOf = [&](uint32_t colour) {
    for (size_t i = 0; i < picture.colours.size(); ++i)
      if (picture.colours[i] == colour) return static_cast<uint32_t>(i);
    return 0u;
  };
  // The pixel rows in file order, each padded to four bytes.
  std::vector<uint8_t> data;
  const uint32_t stride = bmp::rowBytes(picture.width, bits);
  for (int r = 0; r < picture.height; ++r) {
    const int y = picture.topDown ? r : picture.height - 1 - r;
    const uint32_t* row = &picture.pixels[static_cast<size_t>(y) * picture.width];
    if (picture.rle8) {
      for (int x = 0; x < picture.width; ++x) {  // runs of one pixel: simple, and valid
        data.push_back(1);
        data.push_back(static_cast<uint8_t>(indexOf(row[x])));
      }
      data.push_back(0);
      data.push_back(0);  // end of line
      continue;
    }
    std::vector<uint8_t> bytes(stride, 0);
    for (int x = 0; x < picture.width; ++x) {
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
  if (picture.rle8) {
    data.push_back(0);
    data.push_back(1);  // end of bitmap
  }
  const std::vector<uint32_t> noTable;
  return bmp::file({picture.width, picture.topDown ? -picture.height : picture.height,
                    static_cast<uint16_t>(bits), picture.rle8 ? 1u : 0u},
                   bits <= 8 ? picture.colours : noTable, data);
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
