// Frames per second for any program: the frames presented in each interval of at least a
// second, counted on timeGetTime's wrapping millisecond clock. The count of an interval, not a
// rate: an interval stretched to 2.5 s by a stall reports that interval's frames.
#pragma once

#include <cstdint>

// Counts one presented frame into `frameCount`. When at least 1000 ms have passed since
// `intervalStart`, starts the next interval at a fresh reading of the clock, sets `frameCount`
// to 0 and returns the closed interval's count; otherwise returns -1. Call it once per frame,
// after presenting; take `intervalStart` from timeGetTime() before the first frame.
int32_t countPresentedFrame(int32_t& frameCount, uint32_t& intervalStart);
