#include "tools/headless_demo.h"

#include "demo/frame_presentation.h"
#include "platform/compat/testing.h"
#include "platform/headless/headless_screen.h"
#include "platform/win32.h"

namespace headless_demo {
namespace {

long framesHandled = 0;

}  // namespace

std::uint32_t sixtyHertz(long frames) {
  return static_cast<std::uint32_t>(1000 + frames * 1000 / 60);
}

void run(FrameHandler onFrame, Clock clock) {
  compat::testing::setClock([clock] { return static_cast<DWORD>(clock(framesHandled)); });
  compat::headlessScreen().setFrameCallback(
      [onFrame](const compat::IndexedFrame& frame, const compat::Palette& palette) {
        // Before the first frame of the loop, set-up's clears reach the screen too.
        if (!fpsIntervalStarted) return;
        onFrame(framesHandled++, frame, palette);
      });
  char noArguments[] = "";
  WinMain(GetModuleHandleA(nullptr), nullptr, noArguments, SW_SHOWDEFAULT);
  __builtin_unreachable();  // the demo's entry point never returns
}

}  // namespace headless_demo
