// Start-up of the demo and its frame loop.
#pragma once

#include "platform/win32.h"

// cos and sin of whole degrees 0..359, for callers; the frame loop computes its own.
extern float cosTable[360];
extern float sinTable[360];

// The window, the 320 x 240 x 8 full-screen display with 6 slots, the palette and the
// 128 x 128 texture from texture.bmp, the first FPS line and the tables. Ends the program
// with a message box on any failure.
void initApplication(HINSTANCE instance, HINSTANCE previousInstance, int showCommand);

// The frames, for ever: animation and grid, the texture mapped, the frame presented.
[[noreturn]] void runFrameLoop();
