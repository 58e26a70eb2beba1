// The end of every frame: the FPS line over the picture, the copy to the back buffer, the page
// flip, the frame count with its once-a-second FPS update, and one pass of message handling.
#pragma once

#include <cstdint>

extern int32_t frameCount;         // frames presented since the last FPS update
extern uint32_t fpsIntervalStart;  // when the current FPS interval began
extern bool fpsIntervalStarted;    // set by the first call, which takes fpsIntervalStart

// Called once per frame after mapTextureBlocks. May end the process inside its message
// handling (Escape, Pause, right button, close, or the quit message).
void finishFrame();
