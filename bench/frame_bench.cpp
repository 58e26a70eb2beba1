// The per-frame work of the demo, beside anchors that bound it: the whole frame, the walk as
// first written, a naive per-pixel floating-point rotozoom, the index-table gather that is the
// practical floor for any mapping of 76,800 pixels, and a plain copy of a frame.
//
//   build/release/bench/frame_bench [--benchmark_filter=...]
//
// The argument of the mapping benchmarks is the animation frame whose grid they draw: its zoom
// decides how far apart neighbouring texels lie, and so how the texture cache behaves.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

#include "demo/animation.h"
#include "demo/frame_presentation.h"
#include "demo/mapper_paths.h"
#include "demo/texture_mapper.h"
#include "bench/ratio_report.h"
#include "display/display_engine.h"
#include "display/palette_tables.h"
#include "host/main_window.h"
#include "host/shared_data.h"
#include "host/texts.h"
#include "tests/support/reference_walk.h"

namespace {

constexpr int framePixels = pictureWidth * pictureHeight;
const std::vector<int64_t> frames = {0, 30, 150, 298};  // zoom 0.4, 9.4, 45.4, 89.8

// The demo's display as start-up leaves it (full-screen 320 x 240, six slots, on the headless
// screen), with a random palette and texture.
class Demo {
 public:
  Demo() {
    createMainWindow(GetModuleHandleA(nullptr), nullptr, SW_SHOWDEFAULT);
    displayEngine.setupDisplay(mainWindow, pictureWidth, pictureHeight, 1, 8, 6);
    std::mt19937 random(1);
    for (PALETTEENTRY& entry : basePalette)
      entry = {static_cast<BYTE>(random()), static_cast<BYTE>(random()),
               static_cast<BYTE>(random()), 1};
    displayEngine.resetPalette();
    displayEngine.lockSurface(3);
    for (int i = 0; i < surfacePitch[3] * pictureHeight; ++i)
      surfaceBits[3][i] = static_cast<uint8_t>(random());
    displayEngine.unlockSurface(3);
    std::snprintf(messageText, sizeof messageText, texts::fpsFormat, 60);
  }
};

Demo& slots() {
  static Demo instance;
  return instance;
}

// Puts the grid of the given animation frame in place.
void animateTo(int64_t frame) {
  zoom = 0.1f;
  angle = 0.0f;
  for (int64_t i = 0; i <= frame; ++i) advanceAnimation();
}

void labelZoom(benchmark::State& state) {
  state.SetLabel("zoom " + std::to_string(zoom).substr(0, 5));
  state.SetItemsProcessed(state.iterations() * framePixels);
}

void BM_mapTextureBlocks(benchmark::State& state) {
  slots();
  animateTo(state.range(0));
  for (auto _ : state) {
    mapTextureBlocks();
    benchmark::ClobberMemory();
  }
  labelZoom(state);
}
BENCHMARK(BM_mapTextureBlocks)->ArgsProduct({frames});

// Each code path of the mapper that this processor runs, whichever one is chosen.
void BM_mapperPath(benchmark::State& state, const mapper::Path* path) {
  slots();
  animateTo(state.range(0));
  for (auto _ : state) {
    displayEngine.lockSurface(2);
    displayEngine.lockSurface(3);
    renderTextureBlocksWith(*path, surfaceBits[3], surfacePitch[3], surfaceBits[2]);
    displayEngine.unlockSurface(2);
    displayEngine.unlockSurface(3);
    benchmark::ClobberMemory();
  }
  labelZoom(state);
}

const bool pathBenchmarksRegistered = [] {
  for (const mapper::Path& path : mapper::allPaths())
    if (path.runsHere())
      benchmark::RegisterBenchmark((std::string("BM_mapperPath/") + path.name).c_str(),
                                   BM_mapperPath, &path)
          ->ArgsProduct({frames});
  return true;
}();

void BM_plainWalk(benchmark::State& state) {
  slots();
  animateTo(state.range(0));
  for (auto _ : state) {
    displayEngine.lockSurface(2);
    displayEngine.lockSurface(3);
    reference::plainWalk(surfaceBits[3], surfacePitch[3], surfaceBits[2]);
    displayEngine.unlockSurface(2);
    displayEngine.unlockSurface(3);
    benchmark::ClobberMemory();
  }
  labelZoom(state);
}
BENCHMARK(BM_plainWalk)->ArgsProduct({frames});

// One rotation and scale per pixel in single precision, wrapped to the texture as the mapper
// wraps: what the effect costs without the grid.
void BM_naiveRotozoom(benchmark::State& state) {
  slots();
  animateTo(state.range(0));
  const double radians = static_cast<double>(angle) * 3.1415926535 / 180.0;
  const float scale = zoom / 16.0f;  // texels per screen pixel
  const float ca = static_cast<float>(std::cos(radians)) * scale;
  const float sa = static_cast<float>(std::sin(radians)) * scale;
  for (auto _ : state) {
    displayEngine.lockSurface(2);
    displayEngine.lockSurface(3);
    const uint8_t* texture = surfaceBits[3];
    const int32_t pitch = surfacePitch[3];
    uint8_t* out = surfaceBits[2];
    for (int y = 0; y < pictureHeight; ++y) {
      const float dy = static_cast<float>(y - 112);
      for (int x = 0; x < pictureWidth; ++x) {
        const float dx = static_cast<float>(x - 160);
        const int u = static_cast<int>(std::floor(ca * dx - sa * dy)) & 0x7F;
        const int v = static_cast<int>(std::floor(sa * dx + ca * dy)) & 0x7F;
        *out++ = texture[v * pitch + u];
      }
    }
    displayEngine.unlockSurface(2);
    displayEngine.unlockSurface(3);
    benchmark::ClobberMemory();
  }
  labelZoom(state);
}
BENCHMARK(BM_naiveRotozoom)->ArgsProduct({frames});

// The floor: the frame's texel offsets computed beforehand, so each pixel is one table read,
// one texel read from a 128-byte-pitch copy of the texture, and one byte write.
void BM_gatherFloor(benchmark::State& state) {
  slots();
  animateTo(state.range(0));
  std::vector<uint16_t> offsets(framePixels);
  for (int y = 0; y < pictureHeight; ++y)
    for (int x = 0; x < pictureWidth; ++x) {
      const reference::Coordinate c = reference::closedFormCoordinate(x, y);
      offsets[y * pictureWidth + x] =
          static_cast<uint16_t>(((c.v >> 16) & 0x7F) * textureSide + ((c.u >> 16) & 0x7F));
    }
  alignas(64) uint8_t texture[textureSide * textureSide];
  displayEngine.lockSurface(3);
  for (int row = 0; row < textureSide; ++row)
    std::memcpy(texture + row * textureSide, surfaceBits[3] + row * surfacePitch[3], textureSide);
  displayEngine.unlockSurface(3);
  for (auto _ : state) {
    displayEngine.lockSurface(2);
    // Local pointers and an unrolled loop: byte stores may alias anything, so the table's
    // address must not live where a store could change it.
    uint8_t* out = surfaceBits[2];
    const uint16_t* offset = offsets.data();
    for (int i = 0; i < framePixels; i += 16) {
#pragma GCC unroll 16
      for (int k = 0; k < 16; ++k) out[i + k] = texture[offset[i + k]];
    }
    displayEngine.unlockSurface(2);
    benchmark::ClobberMemory();
  }
  labelZoom(state);
}
BENCHMARK(BM_gatherFloor)->ArgsProduct({frames});

void BM_memcpyFrame(benchmark::State& state) {
  slots();
  for (auto _ : state) {
    displayEngine.lockSurface(2);
    displayEngine.lockSurface(3);
    std::memcpy(surfaceBits[2], surfaceBits[3], framePixels);
    displayEngine.unlockSurface(2);
    displayEngine.unlockSurface(3);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * framePixels);
}
BENCHMARK(BM_memcpyFrame);

// A whole frame of the demo on the headless screen: the grid, the mapping, and the frame's
// presentation (the FPS line, the copy to the back buffer, the flip, the count, one pass of
// message handling).
void BM_wholeFrame(benchmark::State& state) {
  slots();
  animateTo(state.range(0));
  for (auto _ : state) {
    advanceAnimation();
    mapTextureBlocks();
    finishFrame();
  }
  labelZoom(state);
}
BENCHMARK(BM_wholeFrame)->ArgsProduct({frames});

void BM_advanceAnimation(benchmark::State& state) {
  for (auto _ : state) {
    advanceAnimation();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_advanceAnimation);

}  // namespace

int main(int argc, char** argv) {
  benchmark::AddCustomContext("mapper_path", mapper::chosenPath().name);
  return bench::runWithRatios(argc, argv, "BM_mapTextureBlocks");
}
