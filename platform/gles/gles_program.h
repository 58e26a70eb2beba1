// Shader programs: compiled and linked from GLSL ES 3.00 sources, with a clear line on standard
// error when the driver refuses one (the first lines of its log are the useful part).
#pragma once

#include "platform/gles/gles_functions.h"

namespace gles {

// A linked program, or 0 when compiling or linking failed (said on standard error, naming the
// program). The vertex source is shared by every program.
GLuint buildProgram(const GlesFunctions& gl, const char* name, const char* vertexSource,
                    const char* fragmentSource);

// A uniform's location; -1 (which GL ignores on upload) where the program has none of that name.
inline GLint uniform(const GlesFunctions& gl, GLuint program, const char* name) {
  return gl.GetUniformLocation(program, name);
}

}  // namespace gles
