// The presenter's GL entry points in the browser: Emscripten's WebGL2 functions, taken by
// address. The compiler checks each one's type against the table's, and the program carries
// the JavaScript of only these functions (a lookup by name would carry all of WebGL's).
#include "platform/web/web_gl_functions.h"

#include <webgl/webgl1.h>
#include <webgl/webgl2.h>

namespace web {

gles::GlesFunctions webGlFunctions() {
  gles::GlesFunctions functions;
#define WEB_GL_FUNCTION(type, name) functions.name = &emscripten_gl##name;
  GLES_FUNCTION_LIST(WEB_GL_FUNCTION)
#undef WEB_GL_FUNCTION
  return functions;
}

}  // namespace web
