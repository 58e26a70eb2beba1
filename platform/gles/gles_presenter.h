// The GPU presenter: shows an 8-bit picture with its palette on the current OpenGL ES 3.0 (or
// WebGL2) context, in one of the looks, with an optional notice over it. The screens own the
// window, the context and the swap; this owns what it draws with.
//
// Each frame the screen calls setPicture (and setPalette when the colours change), then draw
// with the drawable's size in pixels and the look, then swaps. Two passes:
//   1. the indices through the palette into a colour target the picture's size, only when the
//      picture or the palette changed since the last draw (a palette change alone shows at the
//      next draw, as on a palette display);
//   2. the default framebuffer cleared to black and the colour target drawn into the look's
//      rectangle (screen_core/looks.h) with the look's shader. The CRT look first draws, off
//      screen, its glow (at a quarter of the picture's size) and its beam lines (the picture's
//      width by the rectangle's height), again only when the picture or the rectangle changed.
// All calls go through the GlesFunctions table given to start, on the thread whose context is
// current; nothing before start or after stop touches GL. draw sets every piece of GL state it
// relies on, and leaves its own bound: the screen sets what it needs after it.
//
// Cost, in processor time per frame under Mesa's software GL (llvmpipe) with the swap, beside
// the SDL renderer path it replaces (bench/gles_present_bench): the integer look about the
// same, sharp about 2.5 to 3 times, CRT about 3 to 3.7 times, at 1280 x 960 and 1920 x 1080:
// software GL copies a texture fast, but runs any shader with arithmetic the slow way. Where
// the look's rectangle is a whole multiple of the picture both ways (320 x 240 on 1280 x 960)
// the sharp look has no blended pixels, and is drawn as the integer look's copy: the same
// pixels at the copy's cost. Measured and dropped (see bench/process_cost_looks.sh): the sharp
// mapping as strips of geometry, whose interpolated coordinate is the sharp one (llvmpipe bins
// each strip in each tile it crosses and shades it by 4 x 4 blocks: twice the one-pass cost),
// and as two draws of each pixel's edge texels times their shares, summed by blending (each
// full-screen draw that reads two textures costs llvmpipe more than the one-pass shader).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/compat/screen.h"
#include "platform/screen_core/crt_beam.h"
#include "platform/gles/gles_functions.h"
#include "platform/screen_core/looks.h"
#include "platform/screen_core/sharp_scaler.h"

namespace gles {

class GlesPresenter {
 public:
  GlesPresenter() = default;
  GlesPresenter(const GlesPresenter&) = delete;
  GlesPresenter& operator=(const GlesPresenter&) = delete;
  // Releases the GL objects if stop was not called: the context must still be current.
  ~GlesPresenter();

  // Compiles the shaders and makes the textures and framebuffers, on the current context.
  // False, with one line on standard error saying why, when the context cannot run them; the
  // presenter then stays stopped and the screen can take another path.
  bool start(const GlesFunctions& functions);
  // Releases every GL object while the context is still current.
  void stop();
  bool started() const { return started_; }

  // The 8-bit picture, rows `pitch` bytes apart, copied to the GPU now. False, with the reason
  // on standard error and the previous picture kept, for a null picture, sizes that are not
  // positive, a pitch below the width or a size the GPU cannot hold.
  bool setPicture(const std::uint8_t* pixels, int width, int height, int pitch);
  // The palette's 256 colours (their flags are not used).
  void setPalette(const compat::Palette& palette);
  // Draws into the default framebuffer, of the given size in pixels; black where the look
  // leaves bars, and all black until a picture has been set.
  void draw(int drawableWidth, int drawableHeight, compat::Look look);
  // The same with the picture in the given rectangle of the drawable (y from the top), pixel
  // for pixel as the integer look samples it: a window showing its part of a larger picture.
  void drawAt(int drawableWidth, int drawableHeight, const compat::ScreenRect& where);

  // For a GL that runs on the processor (llvmpipe, SwiftShader): the sharp look is then scaled
  // on the processor (screen_core's SharpScaler, within a level of the shader at edges) and
  // drawn as a copy at one texel to a pixel, which such a GL does as a plain copy, instead of
  // the shader, which it runs the slow way at every pixel: at 1440 x 1080, 13 ms a frame
  // against about 2. The picture and colours are then kept on the processor too, from the next
  // picture on: until it comes, the shader draws. Switching lets go of the kept picture, which
  // a picture set meanwhile would leave behind.
  void scaleSharpOnProcessor(bool onProcessor) {
    if (onProcessor != scaleOnProcessor_) indices_.clear();
    scaleOnProcessor_ = onProcessor;
    scaledStale_ = true;
  }

  // The look the last draw really drew: the CRT look without room for its lines is drawn
  // sharp, the sharp look at whole factors both ways as the integer look's copy, and a window's
  // part of the desktop (drawAt) is the integer look.
  compat::Look drawnLook() const { return drawnLook_; }

  // Waits until the GL has drawn everything asked of it, so that the time up to here is what
  // presenting costs (on a software GL, nearly all of it).
  void finish();
  // The GL's renderer string ("llvmpipe (LLVM 15.0.6, 256 bits)", a GPU's name), for the screen to
  // say which path presents; empty when stopped.
  std::string renderer() const;

  // A notice drawn over the picture at the bottom-left corner, white on translucent black,
  // scaled by a whole factor that grows with the drawable: `alpha` is one byte a pixel, rows
  // packed (compat::renderNotice makes it from text). It stays until replaced or cleared. False,
  // keeping the previous notice, for an image that is null, empty or too large.
  bool setNotice(const std::uint8_t* alpha, int width, int height);
  void clearNotice();

 private:
  // A program with the uniforms the passes set (-1 where a program has none of them).
  struct Program {
    GLuint id = 0;
    GLint area = -1;
    GLint drawableHeight = -1;
    GLint texels = -1;
    GLint beam = -1;
    GLint direction = -1;
    GLint factor = -1;
    GLint margin = -1;
    GLint screenLines = -1;
  };

  bool buildPrograms();
  Program build(const char* name, const char* fragmentSource,
                std::initializer_list<const char*> samplers);
  GLuint makeTexture(GLenum filter);
  GLuint makeFramebuffer(GLuint texture);
  void allocate(GLuint texture, GLenum internalFormat, GLenum format, int width, int height);
  void resizeTargets(int width, int height);
  // The GL state the passes rely on, whatever the screen left.
  void resetState();
  void lookUpColours();
  void makeGlow();
  // `where`: the picture's rectangle, or null for the look's.
  void drawFrame(int drawableWidth, int drawableHeight, compat::Look look,
                 const compat::ScreenRect* where);
  // The CRT look's first pass, into `beams_`, when the picture or the rectangle's height changed.
  void drawBeams(int screenLines, const compat::CrtBeam& beam);
  void drawPicture(const compat::ScreenRect& rect, int drawableHeight, compat::Look look,
                   const compat::CrtBeam& beam);
  void drawNotice(int drawableHeight);
  // Whether the sharp look in `rect` is scaled on the processor (scaleSharpOnProcessor).
  bool sharpOnProcessor(const compat::ScreenRect& rect) const;
  // The sharp look scaled on the processor into `scaled_` and drawn as a copy.
  void drawScaled(const compat::ScreenRect& rect, int drawableHeight);
  void useArea(const Program& program, const compat::ScreenRect& rect, int drawableHeight);

  GlesFunctions gl_{};
  bool started_ = false;
  GLint maxTextureSize_ = 0;
  GLuint vertexArray_ = 0;
  GLuint nearest_ = 0;  // a sampler: the integer look reads the linear-filtered target with it

  Program palette_, copy_, sharp_, crtBeams_, crt_, glowReduce_, glowBlur_, notice_;

  GLuint picture_ = 0;  // R8, the indices
  GLuint colours_ = 0;  // 256 x 1 RGBA8
  GLuint target_ = 0;   // RGBA8, the picture's size: pass 1's output
  GLuint targetFramebuffer_ = 0;
  GLuint glow_[2] = {0, 0};  // RGBA8, a quarter of the picture's size each way, rounded up
  GLuint glowFramebuffers_[2] = {0, 0};
  GLuint ink_ = 0;    // R8, the notice
  GLuint beams_ = 0;  // RGBA8, the picture's width by the look's height: the CRT's first pass
  GLuint beamsFramebuffer_ = 0;
  int beamsHeight_ = 0;  // 0 while it holds nothing of the present picture
  compat::Look drawnLook_ = compat::Look::integer;

  int pictureWidth_ = 0;
  int pictureHeight_ = 0;
  int glowWidth_ = 0;
  int glowHeight_ = 0;
  int noticeWidth_ = 0;
  int noticeHeight_ = 0;
  bool targetStale_ = false;  // the picture or the palette changed since pass 1 last ran

  // The sharp look on the processor: the picture and colours as last set, their scaling into
  // the look's rectangle, and that as a texture.
  bool scaleOnProcessor_ = false;
  std::vector<std::uint8_t> indices_;  // rows packed
  compat::Palette keptPalette_{};
  compat::SharpScaler scaler_;
  std::vector<std::uint32_t> rgba_;
  std::vector<std::uint32_t> scaledPixels_;
  GLuint scaled_ = 0;  // RGBA8, the look's rectangle's size
  int scaledWidth_ = 0;
  int scaledHeight_ = 0;
  bool scaledStale_ = true;  // the picture or the colours changed since the last scaling
  bool glowStale_ = false;   // the colour target changed since the glow was made
};

}  // namespace gles
