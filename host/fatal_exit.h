// The one way the program ends on purpose: display teardown, an optional message box, status 1.
#pragma once

// Tears the display down, shows `text` (code page 932) in a box with the error caption when it
// is not null, then ends the process with status 1. Safe at any stage of start-up.
[[noreturn]] void fatalExit(const char* text);

// fatalExit without a message: the user's quit keys, and a display mode that cannot be set.
[[noreturn]] void quit();
