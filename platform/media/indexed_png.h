// Indexed 8-bit PNG files with their palette: the frames rotozoom-capture writes and the
// screenshots of the real screen.
#pragma once

#include <cstdio>
#include <string>

#include "platform/compat/screen.h"

// Writes the frame with the palette as an indexed PNG. On failure, false with the reason, and
// no file left behind.
bool writeIndexedPng(const std::string& path, const compat::IndexedFrame& frame,
                     const compat::Palette& palette, std::string& error);
// The same into a file already open for writing, which stays open. On failure, false with the
// reason; what was written stays for the caller to remove.
bool writeIndexedPng(std::FILE* file, const compat::IndexedFrame& frame,
                     const compat::Palette& palette, std::string& error);
