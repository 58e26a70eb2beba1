// The application window, its procedure, and the keyboard state the procedure keeps.
#pragma once

#include <cstdint>

#include "platform/win32.h"

extern uint8_t keyDown[256];  // by virtual-key code: 1 from key-down to key-up
extern uint8_t anyKeyDown;    // 1 after any key-down, 0 after any key-up
extern int32_t waitEnabled;   // the timed waits run to their end while non-zero

// Registers the class "rz" (unless a previous instance did) and creates and shows the pop-up
// window sized for a 320 x 240 picture. 0 when the class cannot be registered, else 1.
int32_t createMainWindow(HINSTANCE instance, HINSTANCE previousInstance, int showCommand);

// Quits on Escape, Pause, the right button and the close command; records other keys.
LRESULT WINAPI mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Forgets which keys are held; anyKeyDown stays as it is.
void clearKeyStates();
