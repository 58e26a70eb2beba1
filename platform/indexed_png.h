// Indexed 8-bit PNG files with their palette: the frames rotozoom-capture writes and the
// screenshots of the real screen.
#pragma once

#include <string>

#include "platform/compat/screen.h"

// Writes the frame with the palette as an indexed PNG. On failure, false with the reason, and
// no file left behind.
bool writeIndexedPng(const std::string& path, const compat::IndexedFrame& frame,
                     const compat::Palette& palette, std::string& error);
