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
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
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

}  // namespace support
