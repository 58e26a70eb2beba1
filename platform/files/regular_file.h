// Opening the files the program reads (texture.bmp and other bitmaps) safely: only a regular
// file is opened, and nothing blocks on the way. A named pipe, a device or a socket of that
// name would otherwise stop the program in the open call, waiting for a writer for ever.
#pragma once

#include <cstdio>

// The file open for binary reading, or null when it is missing, unreadable or not a regular
// file. The caller closes it with fclose.
std::FILE* openRegularFile(const char* name);
