#include "tools/picture_header.h"

#include <algorithm>
#include <cstring>

namespace {

// Reads within the bytes only: a read past their end gives 0 and marks the header short.
class Reader {
 public:
  explicit Reader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  bool has(std::size_t offset, std::size_t count) const {
    return offset <= bytes_.size() && count <= bytes_.size() - offset;
  }
  bool matches(std::size_t offset, const char* text) const {
    const std::size_t length = std::strlen(text);
    return has(offset, length) && std::memcmp(bytes_.data() + offset, text, length) == 0;
  }
  std::uint32_t byte(std::size_t offset) const { return has(offset, 1) ? bytes_[offset] : 0; }
  std::uint32_t little16(std::size_t at) const { return byte(at) | byte(at + 1) << 8; }
  std::uint32_t little24(std::size_t at) const { return little16(at) | byte(at + 2) << 16; }
  std::uint32_t little32(std::size_t at) const { return little16(at) | little16(at + 2) << 16; }
  std::uint32_t big16(std::size_t at) const { return byte(at) << 8 | byte(at + 1); }
  std::uint32_t big32(std::size_t at) const { return big16(at) << 16 | big16(at + 2); }
  std::size_t size() const { return bytes_.size(); }

 private:
  std::span<const std::uint8_t> bytes_;
};

PictureHeader sized(PictureFormat format, std::int64_t width, std::int64_t height) {
  return {format, width, height, {}};
}

PictureHeader cutShort(PictureFormat format) {
  return {format, 0, 0, std::string("the ") + formatName(format) + " file is cut short"};
}

PictureHeader png(const Reader& in) {
  if (!in.has(0, 24) || !in.matches(12, "IHDR")) return cutShort(PictureFormat::png);
  return sized(PictureFormat::png, in.big32(16), in.big32(20));
}

// The frame size is in the start-of-frame segment, after any others (Exif, colour profile,
// tables), each of which gives its length.
PictureHeader jpeg(const Reader& in) {
  std::size_t at = 2;
  while (in.has(at, 2)) {
    if (in.byte(at) != 0xFF) break;
    const std::uint32_t marker = in.byte(at + 1);
    if (marker == 0xFF) {  // fill byte
      ++at;
      continue;
    }
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {  // no length
      at += 2;
      continue;
    }
    if (marker == 0xD9 || marker == 0xDA) break;  // end of picture, or scan before any frame
    const bool frame =
        marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (frame) {
      if (!in.has(at, 9)) break;
      return sized(PictureFormat::jpeg, in.big16(at + 7), in.big16(at + 5));
    }
    const std::uint32_t length = in.big16(at + 2);
    if (length < 2) break;
    at += 2 + length;
  }
  return cutShort(PictureFormat::jpeg);
}

// The logical screen, and the first frame's descriptor (SDL_image sizes its picture by the
// frame), past the colour table and any extension blocks before it.
PictureHeader gif(const Reader& in) {
  if (!in.has(0, 13)) return cutShort(PictureFormat::gif);
  std::int64_t width = in.little16(6), height = in.little16(8);
  std::size_t at = 13;
  if (in.byte(10) & 0x80) at += 3u << ((in.byte(10) & 7) + 1);
  while (in.has(at, 1)) {
    const std::uint32_t block = in.byte(at);
    if (block == 0x2C) {
      if (!in.has(at, 10)) break;
      width = std::max<std::int64_t>(width, in.little16(at + 5));
      height = std::max<std::int64_t>(height, in.little16(at + 7));
      return sized(PictureFormat::gif, width, height);
    }
    if (block != 0x21 || !in.has(at, 2)) break;
    at += 2;  // introducer and label, then sub-blocks up to an empty one
    while (in.has(at, 1) && in.byte(at) != 0) at += 1 + in.byte(at);
    ++at;
  }
  return cutShort(PictureFormat::gif);
}

// The first chunk tells the kind: lossy (VP8), lossless (VP8L) or extended (VP8X, with the
// canvas size).
PictureHeader webp(const Reader& in) {
  if (!in.has(0, 30)) return cutShort(PictureFormat::webp);
  if (in.matches(12, "VP8X"))
    return sized(PictureFormat::webp, in.little24(24) + 1, in.little24(27) + 1);
  if (in.matches(12, "VP8L") && in.byte(20) == 0x2F) {
    const std::uint32_t bits = in.little32(21);
    return sized(PictureFormat::webp, (bits & 0x3FFF) + 1, ((bits >> 14) & 0x3FFF) + 1);
  }
  if (in.matches(12, "VP8 ") && in.byte(23) == 0x9D && in.byte(24) == 0x01 && in.byte(25) == 0x2A)
    return sized(PictureFormat::webp, in.little16(26) & 0x3FFF, in.little16(28) & 0x3FFF);
  return {PictureFormat::webp, 0, 0, "not a WebP picture this program reads"};
}

// The information header's size tells the old OS/2 form (16-bit sizes) from the Windows ones;
// a negative height means rows top-down.
PictureHeader bmp(const Reader& in) {
  if (!in.has(0, 26)) return cutShort(PictureFormat::bmp);
  if (in.little32(14) == 12) return sized(PictureFormat::bmp, in.little16(18), in.little16(20));
  const auto width = static_cast<std::int32_t>(in.little32(18));
  const auto height = static_cast<std::int32_t>(in.little32(22));
  return sized(PictureFormat::bmp, width, height < 0 ? -std::int64_t{height} : height);
}

}  // namespace

PictureHeader readPictureHeader(std::span<const std::uint8_t> bytes) {
  const Reader in(bytes);
  if (in.matches(0, "\x89PNG\r\n\x1A\n")) return png(in);
  if (in.byte(0) == 0xFF && in.byte(1) == 0xD8 && in.byte(2) == 0xFF) return jpeg(in);
  if (in.matches(0, "GIF87a") || in.matches(0, "GIF89a")) return gif(in);
  if (in.matches(0, "RIFF") && in.matches(8, "WEBP")) return webp(in);
  if (in.matches(0, "BM")) return bmp(in);
  return {PictureFormat::unknown, 0, 0, "not a PNG, JPEG, GIF, WebP or BMP picture"};
}

const char* formatName(PictureFormat format) {
  switch (format) {
    case PictureFormat::png:
      return "PNG";
    case PictureFormat::jpeg:
      return "JPEG";
    case PictureFormat::gif:
      return "GIF";
    case PictureFormat::webp:
      return "WebP";
    case PictureFormat::bmp:
      return "BMP";
    case PictureFormat::unknown:
      break;
  }
  return "unknown";
}
