// The presentation path per frame, beside the path most SDL programs take for an 8-bit frame,
// in the same run: our palette conversion straight into a streaming texture in the window's
// format, against SDL_ConvertSurface to ARGB8888 followed by SDL_UpdateTexture. Each pair is
// measured without and with the renderer's copy and present, which both paths share.
//
// Runs on SDL's dummy video driver (software rendering into memory), so the figures are the
// processor's work, not a display's refresh.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <random>
#include <vector>

#include "bench/ratio_report.h"
#include "platform/sdl/sdl_frame_conversion.h"

namespace {

constexpr int frameWidth = 320;
constexpr int frameHeight = 240;

struct Presenter {
  SDL_Window* window = nullptr;
  SDL_Renderer* renderer = nullptr;
  SDL_Texture* ours = nullptr;    // in the window's format
  SDL_Texture* anchor = nullptr;  // ARGB8888, as most programs make it
  Uint32 windowFormat = SDL_PIXELFORMAT_ARGB8888;
  SDL_Surface* frame = nullptr;  // the 8-bit frame, with its palette
  sdl::ColourLookup lookup{};

  Presenter() {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    SDL_Init(SDL_INIT_VIDEO);
    window = SDL_CreateWindow("bench", 0, 0, frameWidth, frameHeight, 0);
    renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
    const Uint32 format = SDL_GetWindowPixelFormat(window);
    if (SDL_BYTESPERPIXEL(format) == 4) windowFormat = format;
    ours = SDL_CreateTexture(renderer, windowFormat, SDL_TEXTUREACCESS_STREAMING, frameWidth,
                             frameHeight);
    anchor = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                               frameWidth, frameHeight);
    frame = SDL_CreateRGBSurfaceWithFormat(0, frameWidth, frameHeight, 8, SDL_PIXELFORMAT_INDEX8);
    std::mt19937 random(3);
    SDL_Color colours[256];
    std::uint8_t rgb[256][3];
    for (int i = 0; i < 256; ++i) {
      colours[i] = {static_cast<Uint8>(random()), static_cast<Uint8>(random()),
                    static_cast<Uint8>(random()), 255};
      rgb[i][0] = colours[i].r, rgb[i][1] = colours[i].g, rgb[i][2] = colours[i].b;
    }
    SDL_SetPaletteColors(frame->format->palette, colours, 0, 256);
    sdl::mapColours(windowFormat, rgb, lookup);
    auto* pixels = static_cast<std::uint8_t*>(frame->pixels);
    for (int i = 0; i < frame->pitch * frameHeight; ++i) pixels[i] = static_cast<Uint8>(random());
  }

  void present(SDL_Texture* texture) {
    SDL_RenderClear(renderer);
    SDL_RenderCopy(renderer, texture, nullptr, nullptr);
    SDL_RenderPresent(renderer);
  }

  void convertOurs() {
    sdl::convertIntoTexture(ours, static_cast<std::uint8_t*>(frame->pixels), frame->pitch,
                            frameWidth, frameHeight, lookup);
  }

  void convertAnchor() {
    SDL_Surface* converted = SDL_ConvertSurfaceFormat(frame, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_UpdateTexture(anchor, nullptr, converted->pixels, converted->pitch);
    SDL_FreeSurface(converted);
  }
};

Presenter& presenter() {
  static Presenter instance;
  return instance;
}

void BM_presentFrame(benchmark::State& state) {
  Presenter& p = presenter();
  const bool withPresent = state.range(0) != 0;
  for (auto _ : state) {
    p.convertOurs();
    if (withPresent) p.present(p.ours);
  }
  state.SetLabel(withPresent ? "convert + present" : "convert only");
}
BENCHMARK(BM_presentFrame)->Arg(0)->Arg(1);

void BM_convertSurfaceAnchor(benchmark::State& state) {
  Presenter& p = presenter();
  const bool withPresent = state.range(0) != 0;
  for (auto _ : state) {
    p.convertAnchor();
    if (withPresent) p.present(p.anchor);
  }
  state.SetLabel(withPresent ? "convert + present" : "convert only");
}
BENCHMARK(BM_convertSurfaceAnchor)->Arg(0)->Arg(1);

}  // namespace

int main(int argc, char** argv) { return bench::runWithRatios(argc, argv, "BM_presentFrame"); }
