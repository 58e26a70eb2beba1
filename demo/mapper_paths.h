// The mapper's code paths: the same walk and the same output, each written for what a kind of
// processor does fast. The fastest one this processor runs well is chosen once, at start-up.
#pragma once

#include <cstdint>
#include <span>

namespace mapper {

struct Path {
  const char* name;
  bool (*runsHere)();  // the processor has the instructions
  bool (*fastHere)();  // and runs them fast
  // Fills the 320 x 240 picture from a packed texture (128 x 128 texels, 128-byte pitch).
  void (*render)(const uint8_t* packedTexture, uint8_t* picture);
};

// Every path, fastest first; the last one runs on every processor.
std::span<const Path> allPaths();
// The path renderTextureBlocks uses: the first that runs here, and runs fast.
const Path& chosenPath();

// Each path's own render function.
void renderPortable(const uint8_t* texture, uint8_t* picture);
void renderBitExtract(const uint8_t* texture, uint8_t* picture);

}  // namespace mapper
