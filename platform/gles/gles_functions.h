// The GL entry points the presenter calls, as a table of pointers filled through a lookup that
// the platform passes in: SDL_GL_GetProcAddress on the desktop, the WebGL2 functions under
// Emscripten. Filled once after the context is made current.
#pragma once

#include <string>

#include "platform/gles/gles_api.h"

namespace gles {

// Every entry point used, as (type, name without its "gl" prefix).
#define GLES_FUNCTION_LIST(X)                                \
  X(PFNGLACTIVETEXTUREPROC, ActiveTexture)                   \
  X(PFNGLATTACHSHADERPROC, AttachShader)                     \
  X(PFNGLBINDFRAMEBUFFERPROC, BindFramebuffer)               \
  X(PFNGLBINDSAMPLERPROC, BindSampler)                       \
  X(PFNGLBINDTEXTUREPROC, BindTexture)                       \
  X(PFNGLBINDVERTEXARRAYPROC, BindVertexArray)               \
  X(PFNGLBLENDFUNCPROC, BlendFunc)                           \
  X(PFNGLCHECKFRAMEBUFFERSTATUSPROC, CheckFramebufferStatus) \
  X(PFNGLCLEARPROC, Clear)                                   \
  X(PFNGLCLEARCOLORPROC, ClearColor)                         \
  X(PFNGLCOLORMASKPROC, ColorMask)                           \
  X(PFNGLCOMPILESHADERPROC, CompileShader)                   \
  X(PFNGLCREATEPROGRAMPROC, CreateProgram)                   \
  X(PFNGLCREATESHADERPROC, CreateShader)                     \
  X(PFNGLDELETEFRAMEBUFFERSPROC, DeleteFramebuffers)         \
  X(PFNGLDELETEPROGRAMPROC, DeleteProgram)                   \
  X(PFNGLDELETESAMPLERSPROC, DeleteSamplers)                 \
  X(PFNGLDELETESHADERPROC, DeleteShader)                     \
  X(PFNGLDELETETEXTURESPROC, DeleteTextures)                 \
  X(PFNGLDELETEVERTEXARRAYSPROC, DeleteVertexArrays)         \
  X(PFNGLDISABLEPROC, Disable)                               \
  X(PFNGLDRAWARRAYSPROC, DrawArrays)                         \
  X(PFNGLENABLEPROC, Enable)                                 \
  X(PFNGLFINISHPROC, Finish)                                 \
  X(PFNGLFRAMEBUFFERTEXTURE2DPROC, FramebufferTexture2D)     \
  X(PFNGLGENFRAMEBUFFERSPROC, GenFramebuffers)               \
  X(PFNGLGENSAMPLERSPROC, GenSamplers)                       \
  X(PFNGLGENTEXTURESPROC, GenTextures)                       \
  X(PFNGLGENVERTEXARRAYSPROC, GenVertexArrays)               \
  X(PFNGLGETERRORPROC, GetError)                             \
  X(PFNGLGETINTEGERVPROC, GetIntegerv)                       \
  X(PFNGLGETPROGRAMINFOLOGPROC, GetProgramInfoLog)           \
  X(PFNGLGETPROGRAMIVPROC, GetProgramiv)                     \
  X(PFNGLGETSHADERINFOLOGPROC, GetShaderInfoLog)             \
  X(PFNGLGETSHADERIVPROC, GetShaderiv)                       \
  X(PFNGLGETSTRINGPROC, GetString)                           \
  X(PFNGLGETUNIFORMLOCATIONPROC, GetUniformLocation)         \
  X(PFNGLLINKPROGRAMPROC, LinkProgram)                       \
  X(PFNGLPIXELSTOREIPROC, PixelStorei)                       \
  X(PFNGLSAMPLERPARAMETERIPROC, SamplerParameteri)           \
  X(PFNGLSHADERSOURCEPROC, ShaderSource)                     \
  X(PFNGLTEXIMAGE2DPROC, TexImage2D)                         \
  X(PFNGLTEXPARAMETERIPROC, TexParameteri)                   \
  X(PFNGLTEXSUBIMAGE2DPROC, TexSubImage2D)                   \
  X(PFNGLUNIFORM1FPROC, Uniform1f)                           \
  X(PFNGLUNIFORM1IPROC, Uniform1i)                           \
  X(PFNGLUNIFORM2FPROC, Uniform2f)                           \
  X(PFNGLUNIFORM2IPROC, Uniform2i)                           \
  X(PFNGLUNIFORM4FPROC, Uniform4f)                           \
  X(PFNGLUSEPROGRAMPROC, UseProgram)                         \
  X(PFNGLVIEWPORTPROC, Viewport)

struct GlesFunctions {
#define GLES_FUNCTION_MEMBER(type, name) type name = nullptr;
  GLES_FUNCTION_LIST(GLES_FUNCTION_MEMBER)
#undef GLES_FUNCTION_MEMBER
};

// The platform's way to find an entry point by its full name ("glDrawArrays"); null when the
// context has none of that name.
using GlesLookup = void* (*)(const char* name);

// Fills the table through the lookup. False, with the missing name in `missing`, when any
// entry point cannot be found; the table is then not to be used.
bool loadGlesFunctions(GlesLookup lookup, GlesFunctions& functions, std::string& missing);

// The full name of the first entry the table lacks ("glDrawArrays"); null when it has them all.
const char* missingGlesFunction(const GlesFunctions& functions);

}  // namespace gles
