// Data that the host and the display engine share.
#pragma once

#include "platform/win32.h"

inline constexpr int messageTextSize = 256;

// The application window; null until createMainWindow has created it.
extern HWND mainWindow;
// The current FPS line, and the file-not-found messages formatted just before fatalExit.
extern char messageText[messageTextSize];
