// Print Screen: the frame being shown, saved as an indexed PNG with the shown palette in the
// current folder, named by the date and time.
#pragma once

#include <cstdint>
#include <ctime>
#include <functional>
#include <string>

#include "platform/compat/screen.h"

namespace sdl {

// "rotozoom-YYYYMMDD-HHMMSS.png" for the local time, with "-2", "-3"... before the extension
// while `taken` says a name is taken.
std::string screenshotName(std::time_t when, const std::function<bool(const std::string&)>& taken);

// Saves the picture; a folder that cannot be written gives a line on standard error, and
// nothing else changes. Returns the file's name, or empty when nothing was saved.
std::string saveScreenshot(const compat::IndexedFrame& picture, const compat::Palette& palette);

}  // namespace sdl
