// The per-frame work timed by a plain harness that builds for WebAssembly as it does natively
// (Google Benchmark is not there for WebAssembly): the mapper, the conversion of a frame to
// RGBA for a canvas, and a whole frame of the demo on the headless screen. Prints the median of
// many rounds of each, in nanoseconds per call; bench/wasm_compare.sh runs it both ways in one
// run and prints the ratios. Reads texture.bmp from the current folder, as the demo does.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <vector>

#include "app/animation.h"
#include "app/frame_presentation.h"
#include "app/startup.h"
#include "app/texture_mapper.h"
#include "platform/compat/rgba_frame.h"

namespace {

template <typename Work>
double medianNanoseconds(int rounds, int callsPerRound, Work work) {
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

  compat::Palette palette{};
  for (auto& colour : palette)
    colour = {static_cast<std::uint8_t>(random()), static_cast<std::uint8_t>(random()),
              static_cast<std::uint8_t>(random()), 0};
  std::vector<std::uint32_t> rgba(picture.size());
  const double conversion = medianNanoseconds(
      31, 50, [&] { compat::indexedToRgba(picture.data(), picture.size(), palette, rgba.data()); });

  initApplication(nullptr, nullptr, 0);
  const double frame = medianNanoseconds(31, 20, [] {
    advanceAnimation();
    mapTextureBlocks();
    finishFrame();
  });
  std::printf("mapper %.0f\nconversion %.0f\nframe %.0f\n", mapper, conversion, frame);
  // The checksum keeps the work from being thrown away, and shows both builds drew the same.
  unsigned sum = 0;
  for (std::uint8_t p : picture) sum = sum * 31 + p;
  std::printf("picture checksum %08x\n", sum);
  return 0;
}
