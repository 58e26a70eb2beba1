// The demo's own start-up and frame loop on the headless screen, on a simulated clock: what
// rotozoom-capture, the long run and the Windows build's frame matcher all run. texture.bmp is
// read from the current folder, as the demo does.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/compat/screen.h"

namespace headless_demo {

// Called for each frame the frame loop presents, numbered from 0 (set-up's first clears, which
// reach the screen too, are not frames of the loop). It ends the run with std::exit.
using FrameHandler =
    std::function<void(long frameNumber, const compat::IndexedFrame&, const compat::Palette&)>;

// The simulated clock in milliseconds, given the number of frames handled so far.
using Clock = std::function<std::uint32_t(long framesHandled)>;

// 1000/60 ms per frame, exactly on average (the clock reads whole milliseconds), from 1 s.
std::uint32_t sixtyHertz(long framesHandled);

// Runs the demo until the handler ends the process; never returns.
[[noreturn]] void run(FrameHandler onFrame, Clock clock = sixtyHertz);

}  // namespace headless_demo
