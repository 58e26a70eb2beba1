// libFuzzer target: arbitrary bytes as the demo's texture.bmp, through everything that reads it
// at start-up, in process: the palette read from the colour table, LoadImageA, and the copy of
// the bitmap into a surface through the palette. A file that cannot be loaded would end the
// program with the file-not-found box; here it is only skipped (the corpus replay runs that
// path in child processes).
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "display/display_engine.h"
#include "host/main_window.h"
#include "host/shared_data.h"

namespace {

// The demo's display on the headless screen, and a private folder for the file.
struct Setup {
  std::string file;

  Setup() {
    char folder[] = "/tmp/texture-fuzzer-XXXXXX";
    if (mkdtemp(folder) == nullptr) std::abort();
    file = std::string(folder) + "/texture.bmp";
    createMainWindow(GetModuleHandleA(nullptr), nullptr, SW_SHOWDEFAULT);
    if (!displayEngine.setupDisplay(mainWindow, 320, 240, 1, 8, 6)) std::abort();
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Setup setup;
  std::FILE* out = std::fopen(setup.file.c_str(), "wb");
  if (out == nullptr) std::abort();
  if (size > 0) std::fwrite(data, 1, size, out);
  std::fclose(out);

  displayEngine.loadPaletteFromBmp(setup.file.c_str());
  HANDLE image = LoadImageA(GetModuleHandleA(nullptr), setup.file.c_str(), IMAGE_BITMAP, 0, 0,
                            LR_CREATEDIBSECTION | LR_LOADFROMFILE);
  if (image == nullptr) return 0;
  DeleteObject(static_cast<HBITMAP>(image));
  // As start-up does it, and from a corner inside a large picture too.
  displayEngine.loadBitmapToSurface(setup.file.c_str(), 128, 128, 0, 0, 0, 0, 3);
  displayEngine.loadBitmapToSurface(setup.file.c_str(), 320, 240, -5, -7, 100, 60, 2);
  return 0;
}
