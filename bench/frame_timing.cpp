// The per-frame work timed by a plain harness that builds for WebAssembly as it does natively
// (Google Benchmark is not there for WebAssembly): the mapper, the conversion of a frame to
// RGBA for a canvas, and a frame of the demo on the headless screen. Prints the median of
// many rounds of each, in nanoseconds per call; bench/wasm_compare.sh runs it both ways in one
// run and prints the ratios.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

#include "demo/animation.h"
#include "demo/demo_slots.h"
#include "demo/mapper_paths.h"
#include "demo/texture_mapper.h"
#include "display/display_engine.h"
#include "display/palette_tables.h"
#include "host/main_window.h"
#include "host/shared_data.h"
#include "platform/screen_core/rgba_frame.h"

namespace {

template <typename Work>
double medianNanoseconds(int rounds, int callsPerRound, Work work) {
  // Warm up first: WebAssembly engines compile a quick first version of each function and put
  // the optimised one in its place only after a while.
  for (int call = 0; call < 10 * callsPerRound; ++call) work();
  std::vector<double> perCall;
  for (int round = 0; round < rounds; ++round) {
    const auto start = std::chrono::steady_clock::now();
    for (int call = 0; call < callsPerRound; ++call) work();
    const std::chrono::duration<double, std::nano> spent = std::chrono::steady_clock::now() - start;
    perCall.push_back(spent.count() / callsPerRound);
  }
  std::nth_element(perCall.begin(), perCall.begin() + rounds / 2, perCall.end());
  return perCall[rounds / 2];
}

}  // namespace

int main() {
  std::mt19937 random(1);
  std::vector<std::uint8_t> texture(textureSide * textureSide);
  for (std::uint8_t& texel : texture) texel = static_cast<std::uint8_t>(random());
  std::vector<std::uint8_t> picture(pictureWidth * pictureHeight);
  for (int i = 0; i < 30; ++i) advanceAnimation();  // a mid-zoom grid
  const double mapper = medianNanoseconds(
      31, 50, [&] { renderTextureBlocks(texture.data(), textureSide, picture.data()); });
  // The portable path too: the one WebAssembly takes, wherever the native build chose another.
  const mapper::Path& portable = mapper::allPaths().back();
  const double mapperPortable = medianNanoseconds(31, 50, [&] {
    renderTextureBlocksWith(portable, texture.data(), textureSide, picture.data());
  });

  compat::Palette palette{};
  for (auto& colour : palette)
    colour = {static_cast<std::uint8_t>(random()), static_cast<std::uint8_t>(random()),
              static_cast<std::uint8_t>(random()), 0};
  std::vector<std::uint32_t> rgba(picture.size());
  const double conversion = medianNanoseconds(
      31, 50, [&] { compat::indexedToRgba(picture.data(), picture.size(), palette, rgba.data()); });

  // The demo's display as start-up leaves it, with the random texture in its slot (no file:
  // the harness runs where no image decoder is, under Node).
  createMainWindow(nullptr, nullptr, SW_SHOWDEFAULT);
  displayEngine.setupDisplay(mainWindow, pictureWidth, pictureHeight, 1, 8, demoSurfaceCount);
  for (PALETTEENTRY& entry : basePalette)
    entry = {static_cast<BYTE>(random()), static_cast<BYTE>(random()), static_cast<BYTE>(random()),
             1};
  displayEngine.resetPalette();
  displayEngine.lockSurface(textureSlot);
  for (int row = 0; row < textureSide; ++row)
    std::memcpy(surfaceBits[textureSlot] + row * surfacePitch[textureSlot],
                texture.data() + row * textureSide, textureSide);
  displayEngine.unlockSurface(textureSlot);
  // A frame as the loop makes it, but for the FPS line's text, which needs the browser's
  // canvas text (not there under Node): the grid, the mapped picture, its copy to the back
  // buffer and the page flip.
  const double frame = medianNanoseconds(31, 20, [] {
    advanceAnimation();
    mapTextureBlocks();
    displayEngine.blitRect(0, 0, 0, 0, pictureWidth, pictureHeight, backBufferSlot, pictureSlot,
                           DDBLTFAST_WAIT);
    displayEngine.presentFrame();
  });
  std::printf("mapper %.0f\nmapper, portable path %.0f\nconversion %.0f\nframe %.0f\n", mapper,
              mapperPortable, conversion, frame);
  // The checksum keeps the work from being thrown away, and shows both builds drew the same.
  unsigned sum = 0;
  for (std::uint8_t p : picture) sum = sum * 31 + p;
  std::printf("picture checksum %08x\n", sum);
  return 0;
}
