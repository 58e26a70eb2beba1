#include "platform/compat/bitmap_file.h"

#include <cstdio>
#include <cstdlib>

#include "platform/files/regular_file.h"

namespace compat {
namespace {

constexpr std::size_t fileHeaderBytes = 14;
constexpr std::uint32_t coreHeaderBytes = 12;  // OS/2 1.x: 16-bit sizes, 3-byte colours

// Compression values of the information header.
constexpr std::uint32_t uncompressed = 0;
constexpr std::uint32_t runLength8 = 1;
constexpr std::uint32_t runLength4 = 2;
constexpr std::uint32_t bitFields = 3;

std::uint32_t u16(const std::uint8_t* p) { return p[0] | p[1] << 8; }
std::uint32_t u32(const std::uint8_t* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

}  // namespace

std::string bmpHeaderProblem(const std::uint8_t* bytes, std::size_t size) {
  if (size < fileHeaderBytes + coreHeaderBytes) return "shorter than a bitmap's headers";
  if (size > largestBitmapFileBytes) return "larger than any bitmap this program reads";
  if (bytes[0] != 'B' || bytes[1] != 'M') return "not a bitmap (no BM signature)";
  const std::uint32_t pixelOffset = u32(bytes + 10);
  const std::uint32_t headerSize = u32(bytes + 14);
  const bool core = headerSize == coreHeaderBytes;
  if (!core && headerSize != 40 && headerSize != 52 && headerSize != 56 && headerSize != 108 &&
      headerSize != 124)
    return "unknown information header size " + std::to_string(headerSize);
  if (fileHeaderBytes + headerSize > size) return "information header cut short";
  const std::uint8_t* info = bytes + fileHeaderBytes;
  // Signed in the information header (a negative height is a top-down picture).
  const auto signedAt = [](const std::uint8_t* p) -> long long {
    return static_cast<std::int32_t>(u32(p));
  };
  const long long width = core ? u16(info + 4) : signedAt(info + 4);
  const long long signedHeight = core ? u16(info + 6) : signedAt(info + 8);
  const std::uint32_t planes = u16(info + (core ? 8 : 12));
  const std::uint32_t bitCount = u16(info + (core ? 10 : 14));
  const std::uint32_t compression = core ? uncompressed : u32(info + 16);
  const std::uint32_t coloursUsed = core ? 0 : u32(info + 32);
  const long long height = std::llabs(signedHeight);

  if (width < 1 || height < 1 || width > largestBitmapSide || height > largestBitmapSide ||
      width * height > largestBitmapPixels)
    return "dimensions " + std::to_string(width) + " x " + std::to_string(signedHeight) +
           " out of range";
  if (planes != 1) return "plane count " + std::to_string(planes) + " is not 1";
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 &&
      bitCount != 32)
    return "unsupported bit count " + std::to_string(bitCount);
  const bool compressionFits = compression == uncompressed ||
                               (compression == runLength8 && bitCount == 8) ||
                               (compression == runLength4 && bitCount == 4) ||
                               (compression == bitFields && (bitCount == 16 || bitCount == 32));
  if (!compressionFits)
    return "compression " + std::to_string(compression) + " with " + std::to_string(bitCount) +
           " bits a pixel";
  if (signedHeight < 0 && (compression == runLength8 || compression == runLength4))
    return "run-length bitmaps cannot be top-down";

  // The colour table (and bit-field masks) sit between the headers and the pixels.
  const std::uint32_t maxColours = bitCount <= 8 ? 1u << bitCount : 0;
  if (coloursUsed > 256 || (maxColours != 0 && coloursUsed > maxColours))
    return "colour count " + std::to_string(coloursUsed) + " out of range";
  const std::size_t colourBytes = core ? 3 : 4;
  const std::size_t colours = maxColours == 0 ? 0 : coloursUsed != 0 ? coloursUsed : maxColours;
  const std::size_t masks = compression == bitFields && headerSize == 40 ? 12 : 0;
  const std::size_t tableEnd = fileHeaderBytes + headerSize + masks + colours * colourBytes;
  if (tableEnd > size) return "colour table cut short";
  if (pixelOffset < fileHeaderBytes + headerSize || pixelOffset > size)
    return "pixel data offset " + std::to_string(pixelOffset) + " outside the file";
  if (compression == uncompressed || compression == bitFields) {
    const unsigned long long rowBytes =
        (static_cast<unsigned long long>(width) * bitCount + 31) / 32 * 4;
    if (rowBytes * height > size - pixelOffset) return "pixel data cut short";
  }
  return {};
}

namespace {

// The whole file, if it is a regular file no larger than any bitmap read here.
std::optional<std::vector<std::uint8_t>> readBitmapFile(const char* name) {
  std::FILE* file = openRegularFile(name);
  if (file == nullptr) return std::nullopt;
  std::vector<std::uint8_t> bytes;
  std::uint8_t chunk[65536];
  std::size_t read = 0;
  while ((read = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
    if (bytes.size() + read > largestBitmapFileBytes) break;
    bytes.insert(bytes.end(), chunk, chunk + read);
  }
  const bool complete = std::feof(file) && !std::ferror(file);
  std::fclose(file);
  if (!complete) return std::nullopt;
  return bytes;
}

}  // namespace

std::optional<DecodedBitmap> loadBitmapFile(const char* name) {
  const std::optional<std::vector<std::uint8_t>> bytes = readBitmapFile(name);
  if (!bytes || !bmpHeaderProblem(bytes->data(), bytes->size()).empty()) return std::nullopt;
  return decodeBitmap(*bytes);
}

}  // namespace compat
