#include "tools/texture/bmp_writer.h"

namespace bmp {
namespace {

constexpr std::uint32_t headerBytes = 14 + 40;
constexpr std::int32_t pixelsPerMetre = 2835;  // 72 dots per inch

void put16(std::vector<std::uint8_t>& out, std::uint32_t value) {
  out.push_back(value & 0xFF);
  out.push_back((value >> 8) & 0xFF);
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  put16(out, value & 0xFFFF);
  put16(out, value >> 16);
}

}  // namespace

std::uint32_t rowBytes(std::int32_t width, int bitsPerPixel) {
  return ((static_cast<std::uint32_t>(width) * bitsPerPixel + 31) / 32) * 4;
}

std::vector<std::uint8_t> file(const Layout& layout, std::span<const std::uint32_t> colourTable,
                               std::span<const std::uint8_t> pixelData) {
  const auto tableBytes = static_cast<std::uint32_t>(colourTable.size() * 4);
  const std::uint32_t pixelOffset = headerBytes + tableBytes;
  const auto dataBytes = static_cast<std::uint32_t>(pixelData.size());
  std::vector<std::uint8_t> out;
  out.reserve(pixelOffset + dataBytes);
  out.push_back('B');
  out.push_back('M');
  put32(out, pixelOffset + dataBytes);
  put32(out, 0);
  put32(out, pixelOffset);
  put32(out, 40);  // BITMAPINFOHEADER
  put32(out, static_cast<std::uint32_t>(layout.width));
  put32(out, static_cast<std::uint32_t>(layout.height));
  put16(out, 1);
  put16(out, layout.bitsPerPixel);
  put32(out, layout.compression);
  put32(out, dataBytes);
  put32(out, pixelsPerMetre);
  put32(out, pixelsPerMetre);
  put32(out, static_cast<std::uint32_t>(colourTable.size()));
  put32(out, 0);  // every colour important
  for (std::uint32_t colour : colourTable) put32(out, colour);
  out.insert(out.end(), pixelData.begin(), pixelData.end());
  return out;
}

}  // namespace bmp
