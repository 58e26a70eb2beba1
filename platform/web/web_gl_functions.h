// The GL entry points the shared presenter calls, filled with the browser's WebGL2 functions.
#pragma once

#include "platform/gles/gles_functions.h"

namespace web {

// Every entry of the table set; for use on a WebGL2 context.
gles::GlesFunctions webGlFunctions();

}  // namespace web
