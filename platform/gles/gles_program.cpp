#include "platform/gles/gles_program.h"

#include <cstdio>
#include <string>

namespace gles {
namespace {

// The log's first line: enough to find the fault, and one line on standard error.
std::string firstLine(std::string log) {
  const std::size_t end = log.find('\n');
  if (end != std::string::npos) log.resize(end);
  return log.empty() ? "no log" : log;
}

GLuint compile(const GlesFunctions& gl, const char* name, GLenum stage, const char* source) {
  const GLuint shader = gl.CreateShader(stage);
  if (shader == 0) return 0;
  gl.ShaderSource(shader, 1, &source, nullptr);
  gl.CompileShader(shader);
  GLint compiled = GL_FALSE;
  gl.GetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
  if (compiled == GL_TRUE) return shader;
  char log[1024] = {};
  gl.GetShaderInfoLog(shader, sizeof log, nullptr, log);
  std::fprintf(stderr, "gles: the %s %s shader does not compile: %s\n", name,
               stage == GL_VERTEX_SHADER ? "vertex" : "fragment", firstLine(log).c_str());
  gl.DeleteShader(shader);
  return 0;
}

}  // namespace

GLuint buildProgram(const GlesFunctions& gl, const char* name, const char* vertexSource,
                    const char* fragmentSource) {
  const GLuint vertex = compile(gl, name, GL_VERTEX_SHADER, vertexSource);
  const GLuint fragment = vertex == 0 ? 0 : compile(gl, name, GL_FRAGMENT_SHADER, fragmentSource);
  GLuint program = 0;
  if (fragment != 0) program = gl.CreateProgram();
  if (program != 0) {
    gl.AttachShader(program, vertex);
    gl.AttachShader(program, fragment);
    gl.LinkProgram(program);
    GLint linked = GL_FALSE;
    gl.GetProgramiv(program, GL_LINK_STATUS, &linked);
    if (linked != GL_TRUE) {
      char log[1024] = {};
      gl.GetProgramInfoLog(program, sizeof log, nullptr, log);
      std::fprintf(stderr, "gles: the %s program does not link: %s\n", name,
                   firstLine(log).c_str());
      gl.DeleteProgram(program);
      program = 0;
    }
  }
  // The program keeps what it needs; the shader objects go either way.
  if (vertex != 0) gl.DeleteShader(vertex);
  if (fragment != 0) gl.DeleteShader(fragment);
  return program;
}

}  // namespace gles
