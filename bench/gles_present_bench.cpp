// The GPU presenter's work per frame, beside the SDL renderer path it replaces, in the same
// run: a 320 x 240 frame uploaded and drawn in each look at 1280 x 960 and 1920 x 1080, against
// the palette lookup on the processor into a streaming texture that SDL's renderer scales by a
// whole factor. Run on Mesa's software GL (llvmpipe) under Xvfb, so the figures are what a
// machine without a GPU pays; processor time is the whole process's, llvmpipe's threads
// included.
//
// Run it through tests/platform/gles/run_on_software_gl.sh with XVFB_SCREEN=1920x1080x24 (the
// windows are shown, and must fit the screen).
//
// The last argument of each benchmark: 1 with the swap to the window (the whole cost of
// showing a frame), 0 with glFinish in its place (the drawing alone).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "bench/ratio_report.h"
#include "platform/gles/gles_presenter.h"
#include "platform/sdl/sdl_frame_conversion.h"

namespace {

constexpr int frameWidth = 320;
constexpr int frameHeight = 240;

struct Frame {
  std::vector<std::uint8_t> pixels;
  compat::Palette palette{};
  std::uint8_t rgb[256][3] = {};
  Frame() : pixels(frameWidth * frameHeight) {
    std::mt19937 random(3);
    for (auto& pixel : pixels) pixel = static_cast<std::uint8_t>(random());
    for (int i = 0; i < 256; ++i) {
      palette[i] = {static_cast<std::uint8_t>(random()), static_cast<std::uint8_t>(random()),
                    static_cast<std::uint8_t>(random()), 0};
      rgb[i][0] = palette[i].red, rgb[i][1] = palette[i].green, rgb[i][2] = palette[i].blue;
    }
  }
};

const Frame& frame() {
  static const Frame instance;
  return instance;
}

void* lookUp(const char* name) { return SDL_GL_GetProcAddress(name); }

// Today's path: SDL's renderer on its own window of the size.
struct SdlRendererPath {
  SDL_Window* window = nullptr;
  SDL_Renderer* renderer = nullptr;
  SDL_Texture* texture = nullptr;
  sdl::ColourLookup lookup{};
  PFNGLFINISHPROC finish = nullptr;

  SdlRendererPath(int width, int height) {
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    window = SDL_CreateWindow("sdl renderer", 0, 0, width, height, 0);
    renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED);
    texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                                frameWidth, frameHeight);
    SDL_RenderSetLogicalSize(renderer, frameWidth, frameHeight);
    SDL_RenderSetIntegerScale(renderer, SDL_TRUE);
    sdl::mapColours(SDL_PIXELFORMAT_ARGB8888, frame().rgb, lookup);
    finish = reinterpret_cast<PFNGLFINISHPROC>(lookUp("glFinish"));
  }
};

// The presenter on an OpenGL ES 3.0 context on its own window of the size.
struct GlesPath {
  SDL_Window* window = nullptr;
  SDL_GLContext context = nullptr;
  gles::GlesPresenter presenter;
  PFNGLFINISHPROC finish = nullptr;

  GlesPath(int width, int height) {
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_ES);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 0);
    window = SDL_CreateWindow("gles", 0, 0, width, height, SDL_WINDOW_OPENGL);
    context = SDL_GL_CreateContext(window);
    SDL_GL_SetSwapInterval(0);
    gles::GlesFunctions functions;
    std::string missing;
    if (context == nullptr || !gles::loadGlesFunctions(lookUp, functions, missing) ||
        !presenter.start(functions))
      std::abort();
    finish = reinterpret_cast<PFNGLFINISHPROC>(lookUp("glFinish"));
    presenter.setPalette(frame().palette);
  }
};

template <typename Path>
Path& path(int width, int height) {
  static std::map<std::pair<int, int>, Path*> paths;
  Path*& found = paths[{width, height}];
  if (found == nullptr) {
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0) SDL_InitSubSystem(SDL_INIT_VIDEO);
    found = new Path(width, height);  // kept for the whole run, as a screen keeps its window
  }
  return *found;
}

void BM_sdlRenderer(benchmark::State& state) {
  const int width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
  const bool swap = state.range(2) != 0;
  SdlRendererPath& p = path<SdlRendererPath>(width, height);
  for (auto _ : state) {
    sdl::convertIntoTexture(p.texture, frame().pixels.data(), frameWidth, frameWidth, frameHeight,
                            p.lookup);
    SDL_SetRenderDrawColor(p.renderer, 0, 0, 0, 255);
    SDL_RenderClear(p.renderer);
    SDL_RenderCopy(p.renderer, p.texture, nullptr, nullptr);
    if (swap) {
      SDL_RenderPresent(p.renderer);
    } else {
      SDL_RenderFlush(p.renderer);
      p.finish();
    }
  }
}

void presentInLook(benchmark::State& state, compat::Look look, bool sharpOnProcessor = false) {
  const int width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
  const bool swap = state.range(2) != 0;
  GlesPath& p = path<GlesPath>(width, height);
  SDL_GL_MakeCurrent(p.window, p.context);
  p.presenter.scaleSharpOnProcessor(sharpOnProcessor);
  for (auto _ : state) {
    p.presenter.setPicture(frame().pixels.data(), frameWidth, frameHeight, frameWidth);
    p.presenter.draw(width, height, look);
    if (swap)
      SDL_GL_SwapWindow(p.window);
    else
      p.finish();
  }
}

void BM_glesInteger(benchmark::State& state) { presentInLook(state, compat::Look::integer); }
void BM_glesSharp(benchmark::State& state) { presentInLook(state, compat::Look::sharp); }
void BM_glesCrt(benchmark::State& state) { presentInLook(state, compat::Look::crt); }
// The sharp look as the desktop draws it on a GL that runs on the processor.
void BM_glesSharpOnProcessor(benchmark::State& state) {
  presentInLook(state, compat::Look::sharp, true);
}

void sizes(benchmark::internal::Benchmark* benchmark) {
  for (const int swap : {0, 1}) {
    benchmark->Args({1280, 960, swap});
    benchmark->Args({1920, 1080, swap});
  }
  benchmark->MeasureProcessCPUTime();
}
BENCHMARK(BM_sdlRenderer)->Apply(sizes);
BENCHMARK(BM_glesInteger)->Apply(sizes);
BENCHMARK(BM_glesSharp)->Apply(sizes);
BENCHMARK(BM_glesCrt)->Apply(sizes);
BENCHMARK(BM_glesSharpOnProcessor)->Apply(sizes);

}  // namespace

int main(int argc, char** argv) { return bench::runWithRatios(argc, argv, "BM_sdlRenderer"); }
