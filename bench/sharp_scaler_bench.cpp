// The looks drawn on the processor (what the desktop and the page draw each frame where their
// GL runs on the processor), beside the least any way of filling that rectangle costs: copying
// its bytes. At 1280 x 960 (whole factors: every pixel a copy of a picture pixel) and 1440 x
// 1080 (4.5: one blended pixel at each edge). The CRT look as well, and its first frame at a
// new size, which also lays out its lines' tables.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/screen_core/crt_scaler.h"
#include "platform/screen_core/sharp_scaler.h"

namespace {

std::vector<std::uint32_t> picture() {
  std::vector<std::uint32_t> pixels(320 * 240);
  for (std::size_t i = 0; i < pixels.size(); ++i)
    pixels[i] = static_cast<std::uint32_t>(i * 2654435761u) | 0xFF000000u;
  return pixels;
}

void BM_sharpScale(benchmark::State& state) {
  const int width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
  const auto in = picture();
  std::vector<std::uint32_t> out(static_cast<std::size_t>(width) * height);
  compat::SharpScaler scaler;
  for (auto _ : state) {
    scaler.scale(in.data(), 320, 240, width, height, out.data());
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * width * height);
}
BENCHMARK(BM_sharpScale)->Args({1280, 960})->Args({1440, 1080});

void BM_crtScale(benchmark::State& state) {
  const int width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
  const auto in = picture();
  std::vector<std::uint32_t> out(static_cast<std::size_t>(width) * height);
  compat::CrtScaler scaler;
  for (auto _ : state) {
    scaler.scalePart(in.data(), 320, 240, width, height, 0,
                     compat::wholeRectangle(width, height, out.data()));
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * width * height);
}
BENCHMARK(BM_crtScale)->Args({1280, 960})->Args({1440, 1080});

void BM_crtNewSize(benchmark::State& state) {
  const auto in = picture();
  std::vector<std::uint32_t> out(1440 * 1080);
  for (auto _ : state) {
    compat::CrtScaler scaler;
    scaler.scalePart(in.data(), 320, 240, 1440, 1080, 0,
                     compat::wholeRectangle(1440, 1080, out.data()));
    benchmark::DoNotOptimize(out.data());
  }
}
BENCHMARK(BM_crtNewSize);

void BM_copyRectangle(benchmark::State& state) {
  const auto size = static_cast<std::size_t>(state.range(0) * state.range(1));
  std::vector<std::uint32_t> from(size, 0xFF102030u), to(size);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), size * sizeof(std::uint32_t));
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(size));
}
BENCHMARK(BM_copyRectangle)->Args({1280, 960})->Args({1440, 1080});

}  // namespace

BENCHMARK_MAIN();
