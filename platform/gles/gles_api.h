// The OpenGL ES 3.0 types and constants, from the Khronos header (Debian's libgles-dev, and
// Emscripten's own copy for WebGL2), without its function declarations: everything here calls
// GL through the table in gles_functions.h, whose entries the platform looks up, so nothing
// links against a GL library and the desktop and the browser share every line.
#pragma once

#define GL_GLES_PROTOTYPES 0
#include <GLES3/gl3.h>
