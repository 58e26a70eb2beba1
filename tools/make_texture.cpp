// make-texture: writes a texture for the demo, an 8-bit Windows bitmap (40-byte information
// header, a full 256-entry colour table at byte 54) of 128 x 128 pixels: the sample, or one
// made from a picture (tools/texture does the fitting and the colours).
//
//   make-texture [--from IMAGE [--dither]] [FILE]     (default: texture.bmp here)
//
// The sample is made for watching a rotozoom: smooth colour bands that repeat every 128
// pixels in both directions (so the tiled plane has no seam), under a large arrow and a ring
// of dots that are not symmetric about any axis, so both the turning and its direction show.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "tools/command_line.h"
#include "tools/picture_file.h"
#include "tools/replaced_file.h"
#include "tools/texture/bmp_writer.h"
#include "tools/texture/texture_file.h"

namespace {

constexpr int side = 128;
constexpr double pi = 3.14159265358979323846;

// Palette: 0 black; 1..191 a smooth cycle of hues; 192..255 warm whites for the arrow.
struct Rgb {
  uint8_t red, green, blue;
};

Rgb paletteEntry(int i) {
  if (i == 0) return {0, 0, 0};
  if (i < 192) {
    const double t = 2 * pi * (i - 1) / 191.0;
    auto channel = [t](double phase) {
      return static_cast<uint8_t>(std::lround(110 + 100 * std::sin(t + phase)));
    };
    return {channel(0), channel(2 * pi / 3), channel(4 * pi / 3)};
  }
  const int k = i - 192;  // 0..63
  return {255, static_cast<uint8_t>(190 + k), static_cast<uint8_t>(120 + 2 * k)};
}

// Bands of colour that wrap at the tile's edges: sums of sines with whole periods per tile.
int backgroundIndex(int x, int y) {
  const double u = 2 * pi * x / side, v = 2 * pi * y / side;
  const double field = std::sin(u) + std::sin(v + 2 * std::sin(u)) + 0.5 * std::sin(u + 2 * v);
  const double unit = (field + 2.5) / 5.0;  // about 0..1
  return 1 + static_cast<int>(std::lround(unit * 190 * 2)) % 191;
}

// An arrow pointing up and to the right, with a notch on one side only.
bool inArrow(int x, int y) {
  const double px = x - 64.0, py = 64.0 - y;  // y up
  const double along = (px + py) / std::sqrt(2.0), across = (px - py) / std::sqrt(2.0);
  if (along > -38 && along < 10 && std::fabs(across) < 7) return !(along < -25 && across > 0);
  return along >= 10 && along < 34 && std::fabs(across) < (34 - along) * 0.75;
}

// A ring of dots growing in size clockwise: one more asymmetry to follow.
bool inDot(int x, int y) {
  for (int k = 0; k < 8; ++k) {
    const double a = 2 * pi * k / 8, radius = 2.0 + k * 0.7;
    const double cx = 64 + 50 * std::cos(a), cy = 64 + 50 * std::sin(a);
    if ((x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius) return true;
  }
  return false;
}

std::vector<uint8_t> textureFile() {
  std::vector<uint32_t> colours(256);
  for (int i = 0; i < 256; ++i) {
    const Rgb c = paletteEntry(i);
    colours[i] = static_cast<uint32_t>(c.red) << 16 | c.green << 8 | c.blue;
  }
  std::vector<uint8_t> pixels;  // rows of 128 bytes need no padding
  pixels.reserve(side * side);
  for (int y = side - 1; y >= 0; --y)  // bottom-up, as a positive height says
    for (int x = 0; x < side; ++x) {
      int index = backgroundIndex(x, y);
      if (inArrow(x, y)) index = 192 + (x + y) / 4;  // a gentle ramp along the arrow
      if (inDot(x, y)) index = 0;
      pixels.push_back(static_cast<uint8_t>(index));
    }
  return bmp::file({side, side, 8, 0}, colours, pixels);
}

int writeFile(const std::string& fileName, const std::vector<uint8_t>& bytes) {
  const std::string problem = replaceFile(fileName, bytes);
  if (problem.empty()) return 0;
  std::fprintf(stderr, "make-texture: %s: %s\n", fileName.c_str(), problem.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  const ToolDescription tool{
      "make-texture", "[--from IMAGE [--dither]] [FILE]",
      "Writes a texture for the rotozoom demo to FILE (default: texture.bmp in the current\n"
      "folder): an 8-bit Windows bitmap of 128 x 128 pixels with a full 256-colour table, the\n"
      "kind of file the demo reads as texture.bmp. Without --from it is the demo's sample.\n"
      "\n"
      "  --from IMAGE  make it from any picture: a PNG, JPEG, GIF (its first frame), WebP or\n"
      "                BMP of any depth, of up to 64 million pixels (8192 x 8192).\n"
      "  --dither      mix palette colours to show the ones between them (Floyd-Steinberg);\n"
      "                off by default, because the pattern crawls on a turning texture.\n"
      "\n"
      "The texture is 128 x 128 because the demo maps exactly that square and repeats it\n"
      "across its plane: more would never be shown, less would leave gaps. The picture keeps\n"
      "its aspect ratio: its largest centred square is scaled to 128 x 128, averaged in linear\n"
      "light (transparent parts come out black), and its 256 colours are chosen to fit it (a\n"
      "picture of 256 colours or fewer keeps them exactly). A picture that cannot be read gets\n"
      "one line saying why and status 2, and nothing is written."};
  std::optional<std::string> from;
  bool dither = false;
  const std::vector<std::string> operands =
      operandsOf(tool, argc, argv, {{"--from", &from}}, {{"--dither", &dither}});
  if (operands.size() > 1) return usageError(tool, "one FILE at the most");
  if (dither && !from) return usageError(tool, "--dither needs --from IMAGE");
  const std::string fileName = operands.empty() ? "texture.bmp" : operands[0];
  if (!from) return writeFile(fileName, textureFile());
  // The texture written over the picture it is made from would lose the picture.
  if (sameFile(*from, fileName)) {
    std::fprintf(stderr, "make-texture: %s: is the picture itself; name another FILE\n",
                 fileName.c_str());
    return 2;
  }

  const DecodedPicture picture = readPictureFile(from->c_str());
  texture::TextureFile texture;
  if (picture.problem.empty())
    texture = texture::textureFileFromRgba(picture.rgba, picture.width, picture.height, dither);
  const std::string& problem = picture.problem.empty() ? texture.problem : picture.problem;
  if (!problem.empty()) {
    std::fprintf(stderr, "make-texture: %s: %s\n", from->c_str(), problem.c_str());
    return 2;
  }
  return writeFile(fileName, texture.bytes);
}
