// The path for every processor: u and v step together in one 64-bit word, and the texel index
// is cut out of it with two shifts and two masks.
#include "demo/block_walk.h"
#include "demo/mapper_paths.h"

namespace mapper {
namespace {

struct PortableRun {
  static void drawRun(Run run, const uint8_t* texture, uint8_t* out) {
    uint64_t word = run.word;
#pragma GCC unroll 16
    for (int px = 0; px < blockSide; ++px) {
      // v's bits 16..22 are the word's bits 48..54, u's bits 16..22 its bits 16..22.
      out[px] = texture[((word >> 41) & 0x3F80) | ((word >> 16) & 0x7F)];
      word += run.step;
    }
  }
};

}  // namespace

[[gnu::flatten]] void renderPortable(const uint8_t* texture, uint8_t* picture) {
  walkBlocks<PortableRun>(texture, picture);
}

}  // namespace mapper
