// The path for x86-64 processors with BMI2, compiled for that instruction set function by
// function, so the rest of the program runs on any x86-64 processor.
#include "demo/block_walk.h"
#include "demo/mapper_paths.h"

#if defined(__x86_64__)
#include <immintrin.h>

namespace mapper {
namespace {

// One bit-extract forms the texel index from the packed word: the mask picks u's bits 16..22
// and v's bits 48..54, and pext packs them side by side, v above u.
struct BitExtractRun {
  [[gnu::target("bmi2")]] static inline void drawRun(Run run, const uint8_t* texture,
                                                     uint8_t* out) {
    constexpr uint64_t texelBits = 0x007F0000'007F0000;
    uint64_t word = run.word;
#pragma GCC unroll 16
    for (int px = 0; px < blockSide; ++px) {
      out[px] = texture[_pext_u64(word, texelBits)];
      word += run.step;
    }
  }
};

}  // namespace

[[gnu::target("bmi2"), gnu::flatten]] void renderBitExtract(const uint8_t* texture,
                                                            uint8_t* picture) {
  walkBlocks<BitExtractRun>(texture, picture);
}

}  // namespace mapper

#else  // other processors run the portable path; this one is never chosen there

namespace mapper {
void renderBitExtract(const uint8_t* texture, uint8_t* picture) {
  renderPortable(texture, picture);
}
}  // namespace mapper

#endif
