// Print Screen: the frame being shown, saved as an indexed PNG with the shown palette, named by
// the date and time, in the current folder; where that folder cannot be written (a program
// started from the desktop's menu runs in a system folder), in the user's pictures folder.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

#include "platform/compat/screen.h"

namespace sdl {

// The names tried for a screenshot taken at `when`, local time: attempt 1 is
// "rotozoom-YYYYMMDD-HHMMSS.png", attempt n > 1 has "-n" before the extension. Recordings
// are named the same way with their own extension.
std::string screenshotName(std::time_t when, int attempt, const std::string& extension = ".png");
inline constexpr int screenshotAttempts = 999;

// A new file for a picture or a recording taken at `when`, under the first free name with that
// extension: in the current folder, or where that cannot be written, the pictures folder. Each
// name is created exclusively, never through a symbolic link or over an older file, open for
// reading and writing. Its descriptor and path (a bare name in the current folder); or -1 after
// a line on standard error that begins with `who`.
int createCaptureFile(const char* who, std::time_t when, const std::string& extension,
                      std::string& path);

// Saves the picture in a file of its own: each name is created exclusively, never through a
// symbolic link or over an older file, and the next name is tried while one is taken. Writes
// one line on standard error, the path saved to or why nothing was saved. Returns that path
// (a bare name in the current folder), or empty when nothing was saved.
std::string saveScreenshot(const compat::IndexedFrame& picture, const compat::Palette& palette);
std::string saveScreenshot(const compat::IndexedFrame& picture, const compat::Palette& palette,
                           std::time_t when);

}  // namespace sdl
