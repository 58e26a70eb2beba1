#include "platform/gles/gles_presenter.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "platform/gles/gles_program.h"
#include "platform/gles/picture_shaders.h"
#include "platform/screen_core/crt_beam.h"
#include "platform/screen_core/notice_font.h"
#include "platform/screen_core/rgba_frame.h"

namespace gles {
namespace {

static_assert(sizeof(compat::PaletteColour) == 4 && sizeof(compat::Palette) == 4 * 256,
              "the palette is uploaded as it is, four bytes a colour");

// The glow's texture holds a 4 x 4 block of the picture in each texel.
constexpr int glowReduction = 4;

}  // namespace

GlesPresenter::~GlesPresenter() { stop(); }

bool GlesPresenter::start(const GlesFunctions& functions) {
  stop();
  if (const char* missing = missingGlesFunction(functions)) {
    std::fprintf(stderr, "gles: the GL function table lacks %s\n", missing);
    return false;
  }
  gl_ = functions;
  // Errors already recorded are not this start's: calls before it left them (the caller's own,
  // or queries on a WebGL context since lost and restored). Each GetError takes one; the bound
  // keeps a context that always reports one from holding the start up.
  for (int left = 16; left > 0 && gl_.GetError() != GL_NO_ERROR; --left) {
  }
  started_ = true;  // so that stop() releases whatever a failure leaves
  gl_.GetIntegerv(GL_MAX_TEXTURE_SIZE, &maxTextureSize_);
  gl_.GenVertexArrays(1, &vertexArray_);
  gl_.GenSamplers(1, &nearest_);
  gl_.SamplerParameteri(nearest_, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  gl_.SamplerParameteri(nearest_, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  gl_.SamplerParameteri(nearest_, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  gl_.SamplerParameteri(nearest_, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  if (!buildPrograms()) {
    stop();
    return false;
  }
  picture_ = makeTexture(GL_NEAREST);
  colours_ = makeTexture(GL_NEAREST);
  allocate(colours_, GL_RGBA8, GL_RGBA, 256, 1);
  // Linear: the sharp look reads its edges' coverage through the filter (the integer look reads
  // the same texture through a nearest sampler), and the glow is read between its texels.
  target_ = makeTexture(GL_LINEAR);
  for (GLuint& texture : glow_) texture = makeTexture(GL_LINEAR);
  ink_ = makeTexture(GL_NEAREST);
  beams_ = makeTexture(GL_NEAREST);
  scaled_ = makeTexture(GL_NEAREST);
  // Framebuffers are complete only once their textures have a size: a texel each until the
  // first picture.
  resizeTargets(1, 1);
  targetFramebuffer_ = makeFramebuffer(target_);
  for (int i = 0; i < 2; ++i) glowFramebuffers_[i] = makeFramebuffer(glow_[i]);
  allocate(beams_, GL_RGBA8, GL_RGBA, 1, 1);
  beamsFramebuffer_ = makeFramebuffer(beams_);
  gl_.BindFramebuffer(GL_FRAMEBUFFER, 0);
  pictureWidth_ = pictureHeight_ = 0;
  const GLenum error = gl_.GetError();
  if (targetFramebuffer_ == 0 || glowFramebuffers_[0] == 0 || glowFramebuffers_[1] == 0 ||
      beamsFramebuffer_ == 0 || error != GL_NO_ERROR) {
    std::fprintf(stderr, "gles: the context cannot hold the presenter's textures (GL error 0x%x)\n",
                 error);
    stop();
    return false;
  }
  return true;
}

void GlesPresenter::stop() {
  if (!started_) return;
  for (Program* program :
       {&palette_, &copy_, &sharp_, &crtBeams_, &crt_, &glowReduce_, &glowBlur_, &notice_}) {
    if (program->id != 0) gl_.DeleteProgram(program->id);
    *program = Program{};
  }
  // Names that are 0 (never made) are ignored by the deletions.
  const GLuint framebuffers[] = {targetFramebuffer_, glowFramebuffers_[0], glowFramebuffers_[1],
                                 beamsFramebuffer_};
  gl_.DeleteFramebuffers(4, framebuffers);
  const GLuint textures[] = {picture_, colours_, target_, glow_[0],
                             glow_[1], ink_,     beams_,  scaled_};
  gl_.DeleteTextures(8, textures);
  gl_.DeleteVertexArrays(1, &vertexArray_);
  gl_.DeleteSamplers(1, &nearest_);
  targetFramebuffer_ = glowFramebuffers_[0] = glowFramebuffers_[1] = beamsFramebuffer_ = 0;
  picture_ = colours_ = target_ = glow_[0] = glow_[1] = ink_ = beams_ = scaled_ = 0;
  indices_.clear();
  scaledWidth_ = scaledHeight_ = 0;
  scaledStale_ = true;
  vertexArray_ = nearest_ = 0;
  pictureWidth_ = pictureHeight_ = noticeWidth_ = noticeHeight_ = beamsHeight_ = 0;
  started_ = false;
}

bool GlesPresenter::buildPrograms() {
  // Up to the first that fails: one line on standard error says why.
  return (palette_ = build("palette", shaders::paletteLookup, {"picture", "palette"})).id != 0 &&
         (copy_ = build("copy", shaders::copyPicture, {"colour"})).id != 0 &&
         (sharp_ = build("sharp look", shaders::sharpLook, {"colour"})).id != 0 &&
         (crtBeams_ = build("crt beams", shaders::crtBeams, {"colour", "glow"})).id != 0 &&
         (crt_ = build("crt look", shaders::crtLook, {"beams"})).id != 0 &&
         (glowReduce_ = build("glow", shaders::glowReduce, {"colour"})).id != 0 &&
         (glowBlur_ = build("glow blur", shaders::glowBlur, {"source"})).id != 0 &&
         (notice_ = build("notice", shaders::notice, {"ink"})).id != 0;
}

GlesPresenter::Program GlesPresenter::build(const char* name, const char* fragmentSource,
                                            std::initializer_list<const char*> samplers) {
  Program program;
  program.id = buildProgram(gl_, name, shaders::coverViewport, fragmentSource);
  if (program.id == 0) return program;
  program.area = uniform(gl_, program.id, "area");
  program.drawableHeight = uniform(gl_, program.id, "drawableHeight");
  program.texels = uniform(gl_, program.id, "texels");
  program.beam = uniform(gl_, program.id, "beam");
  program.direction = uniform(gl_, program.id, "direction");
  program.factor = uniform(gl_, program.id, "factor");
  program.margin = uniform(gl_, program.id, "margin");
  program.screenLines = uniform(gl_, program.id, "screenLines");
  // Samplers read the texture units in the order named.
  gl_.UseProgram(program.id);
  GLint unit = 0;
  for (const char* sampler : samplers) gl_.Uniform1i(uniform(gl_, program.id, sampler), unit++);
  return program;
}

GLuint GlesPresenter::makeTexture(GLenum filter) {
  GLuint texture = 0;
  gl_.GenTextures(1, &texture);
  gl_.BindTexture(GL_TEXTURE_2D, texture);
  gl_.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, static_cast<GLint>(filter));
  gl_.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, static_cast<GLint>(filter));
  gl_.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  gl_.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  return texture;
}

GLuint GlesPresenter::makeFramebuffer(GLuint texture) {
  GLuint framebuffer = 0;
  gl_.GenFramebuffers(1, &framebuffer);
  gl_.BindFramebuffer(GL_FRAMEBUFFER, framebuffer);
  gl_.FramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
  if (gl_.CheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE) return framebuffer;
  gl_.DeleteFramebuffers(1, &framebuffer);
  return 0;
}

void GlesPresenter::allocate(GLuint texture, GLenum internalFormat, GLenum format, int width,
                             int height) {
  gl_.BindTexture(GL_TEXTURE_2D, texture);
  gl_.TexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(internalFormat), width, height, 0, format,
                 GL_UNSIGNED_BYTE, nullptr);
}

void GlesPresenter::resizeTargets(int width, int height) {
  allocate(picture_, GL_R8, GL_RED, width, height);
  allocate(target_, GL_RGBA8, GL_RGBA, width, height);
  glowWidth_ = (width + glowReduction - 1) / glowReduction;
  glowHeight_ = (height + glowReduction - 1) / glowReduction;
  for (GLuint texture : glow_) allocate(texture, GL_RGBA8, GL_RGBA, glowWidth_, glowHeight_);
}

bool GlesPresenter::setPicture(const std::uint8_t* pixels, int width, int height, int pitch) {
  if (!started_) return false;
  if (pixels == nullptr || width <= 0 || height <= 0 || pitch < width || width > maxTextureSize_ ||
      height > maxTextureSize_) {
    std::fprintf(stderr,
                 "gles: picture refused: %dx%d with rows %d bytes apart (the GPU holds up to "
                 "%d each way)%s\n",
                 width, height, pitch, maxTextureSize_, pixels == nullptr ? ", and no pixels" : "");
    return false;
  }
  if (width != pictureWidth_ || height != pictureHeight_) {
    resizeTargets(width, height);
    pictureWidth_ = width;
    pictureHeight_ = height;
  }
  gl_.BindTexture(GL_TEXTURE_2D, picture_);
  // One byte a pixel, rows `pitch` apart: read straight from the caller's memory.
  gl_.PixelStorei(GL_UNPACK_ALIGNMENT, 1);
  gl_.PixelStorei(GL_UNPACK_ROW_LENGTH, pitch);
  gl_.TexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, width, height, GL_RED, GL_UNSIGNED_BYTE, pixels);
  gl_.PixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  targetStale_ = true;
  if (scaleOnProcessor_) {
    indices_.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y)
      std::memcpy(indices_.data() + static_cast<std::size_t>(y) * width,
                  pixels + static_cast<std::size_t>(y) * pitch, static_cast<std::size_t>(width));
    scaledStale_ = true;
  }
  return true;
}

void GlesPresenter::setPalette(const compat::Palette& palette) {
  if (!started_) return;
  gl_.BindTexture(GL_TEXTURE_2D, colours_);
  gl_.TexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 256, 1, GL_RGBA, GL_UNSIGNED_BYTE, palette.data());
  targetStale_ = true;
  keptPalette_ = palette;
  scaledStale_ = true;
}

bool GlesPresenter::setNotice(const std::uint8_t* alpha, int width, int height) {
  if (!started_) return false;
  if (alpha == nullptr || width <= 0 || height <= 0 || width > maxTextureSize_ ||
      height > maxTextureSize_) {
    std::fprintf(stderr, "gles: notice refused: %dx%d%s\n", width, height,
                 alpha == nullptr ? " with no pixels" : "");
    return false;
  }
  gl_.BindTexture(GL_TEXTURE_2D, ink_);
  gl_.PixelStorei(GL_UNPACK_ALIGNMENT, 1);
  if (width != noticeWidth_ || height != noticeHeight_)
    gl_.TexImage2D(GL_TEXTURE_2D, 0, GL_R8, width, height, 0, GL_RED, GL_UNSIGNED_BYTE, alpha);
  else
    gl_.TexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, width, height, GL_RED, GL_UNSIGNED_BYTE, alpha);
  noticeWidth_ = width;
  noticeHeight_ = height;
  return true;
}

void GlesPresenter::finish() {
  if (started_) gl_.Finish();
}

std::string GlesPresenter::renderer() const {
  if (!started_) return {};
  const GLubyte* name = gl_.GetString(GL_RENDERER);
  return name != nullptr ? reinterpret_cast<const char*>(name) : "";
}

void GlesPresenter::clearNotice() { noticeWidth_ = noticeHeight_ = 0; }

void GlesPresenter::resetState() {
  gl_.BindVertexArray(vertexArray_);
  gl_.Disable(GL_BLEND);
  gl_.Disable(GL_SCISSOR_TEST);
  gl_.Disable(GL_DEPTH_TEST);
  gl_.Disable(GL_STENCIL_TEST);
  gl_.Disable(GL_CULL_FACE);
  gl_.ColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
}

void GlesPresenter::draw(int drawableWidth, int drawableHeight, compat::Look look) {
  drawFrame(drawableWidth, drawableHeight, look, nullptr);
}

void GlesPresenter::drawAt(int drawableWidth, int drawableHeight, const compat::ScreenRect& where) {
  drawFrame(drawableWidth, drawableHeight, compat::Look::integer, &where);
}

void GlesPresenter::drawFrame(int drawableWidth, int drawableHeight, compat::Look look,
                              const compat::ScreenRect* where) {
  if (!started_ || drawableWidth <= 0 || drawableHeight <= 0) return;
  resetState();
  compat::ScreenRect rect{0, 0, 0, 0};
  compat::CrtBeam beam{};
  if (pictureWidth_ > 0) {
    rect = where != nullptr ? *where
                            : compat::lookRectangle(look, pictureWidth_, pictureHeight_,
                                                    drawableWidth, drawableHeight);
    beam = compat::crtBeam(rect, pictureHeight_);
    // The CRT look without room for its lines is the sharp look; so it is on a screen taller
    // than the GPU's textures, which its first pass could not hold.
    if (look == compat::Look::crt && (beam.depth == 0.0f || rect.height > maxTextureSize_))
      look = compat::Look::sharp;
    // At whole factors both ways every pixel lies inside one texel, and the sharp look is the
    // copy through the nearest sampler, pixel for pixel.
    if (look == compat::Look::sharp && rect.width % pictureWidth_ == 0 &&
        rect.height % pictureHeight_ == 0)
      look = compat::Look::integer;
    // Everything drawn off screen first, then the screen in one go. The sharp look scaled on
    // the processor needs no colour target.
    if (targetStale_ && !(look == compat::Look::sharp && sharpOnProcessor(rect))) lookUpColours();
    if (look == compat::Look::crt) drawBeams(rect.height, beam);
  }
  drawnLook_ = look;
  gl_.BindFramebuffer(GL_FRAMEBUFFER, 0);
  gl_.Viewport(0, 0, drawableWidth, drawableHeight);
  gl_.ClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  gl_.Clear(GL_COLOR_BUFFER_BIT);
  if (rect.width > 0 && rect.height > 0) drawPicture(rect, drawableHeight, look, beam);
  if (noticeWidth_ > 0) drawNotice(drawableHeight);
}

void GlesPresenter::lookUpColours() {
  gl_.BindFramebuffer(GL_FRAMEBUFFER, targetFramebuffer_);
  gl_.Viewport(0, 0, pictureWidth_, pictureHeight_);
  gl_.UseProgram(palette_.id);
  gl_.ActiveTexture(GL_TEXTURE1);
  gl_.BindTexture(GL_TEXTURE_2D, colours_);
  gl_.ActiveTexture(GL_TEXTURE0);
  gl_.BindTexture(GL_TEXTURE_2D, picture_);
  gl_.DrawArrays(GL_TRIANGLE_STRIP, 0, 4);
  targetStale_ = false;
  glowStale_ = true;
  beamsHeight_ = 0;
}

void GlesPresenter::makeGlow() {
  // Reduce into the first texture, blur along x into the second and along y back.
  gl_.Viewport(0, 0, glowWidth_, glowHeight_);
  gl_.ActiveTexture(GL_TEXTURE1);
  gl_.BindTexture(GL_TEXTURE_2D, 0);
  gl_.ActiveTexture(GL_TEXTURE0);
  gl_.BindFramebuffer(GL_FRAMEBUFFER, glowFramebuffers_[0]);
  gl_.UseProgram(glowReduce_.id);
  gl_.BindTexture(GL_TEXTURE_2D, target_);
  gl_.DrawArrays(GL_TRIANGLE_STRIP, 0, 4);
  gl_.UseProgram(glowBlur_.id);
  for (int pass = 0; pass < 2; ++pass) {
    gl_.BindFramebuffer(GL_FRAMEBUFFER, glowFramebuffers_[1 - pass]);
    gl_.BindTexture(GL_TEXTURE_2D, glow_[pass]);
    gl_.Uniform2i(glowBlur_.direction, pass == 0 ? 1 : 0, pass == 0 ? 0 : 1);
    gl_.DrawArrays(GL_TRIANGLE_STRIP, 0, 4);
  }
  glowStale_ = false;
}

void GlesPresenter::useArea(const Program& program, const compat::ScreenRect& rect,
                            int drawableHeight) {
  gl_.UseProgram(program.id);
  gl_.Uniform4f(program.area, static_cast<float>(rect.x), static_cast<float>(rect.y),
                static_cast<float>(rect.width), static_cast<float>(rect.height));
  gl_.Uniform1f(program.drawableHeight, static_cast<float>(drawableHeight));
  // GL counts viewport rows from the bottom; in 64 bits, for a rectangle given from outside.
  const std::int64_t fromBottom = std::int64_t{drawableHeight} - rect.y - rect.height;
  gl_.Viewport(rect.x,
               static_cast<GLint>(std::clamp<std::int64_t>(fromBottom, INT32_MIN, INT32_MAX)),
               rect.width, rect.height);
}

void GlesPresenter::drawBeams(int screenLines, const compat::CrtBeam& beam) {
  if (glowStale_) makeGlow();
  if (beamsHeight_ == screenLines) return;
  allocate(beams_, GL_RGBA8, GL_RGBA, pictureWidth_, screenLines);
  gl_.BindFramebuffer(GL_FRAMEBUFFER, beamsFramebuffer_);
  gl_.Viewport(0, 0, pictureWidth_, screenLines);
  gl_.UseProgram(crtBeams_.id);
  gl_.Uniform2f(crtBeams_.texels, static_cast<float>(pictureWidth_),
                static_cast<float>(pictureHeight_));
  gl_.Uniform1f(crtBeams_.screenLines, static_cast<float>(screenLines));
  gl_.Uniform4f(crtBeams_.beam, beam.linesPerRow, beam.phase, beam.halfScreenLine, beam.depth);
  gl_.ActiveTexture(GL_TEXTURE1);
  gl_.BindTexture(GL_TEXTURE_2D, glow_[0]);
  gl_.ActiveTexture(GL_TEXTURE0);
  gl_.BindTexture(GL_TEXTURE_2D, target_);
  gl_.DrawArrays(GL_TRIANGLE_STRIP, 0, 4);
  beamsHeight_ = screenLines;
}

void GlesPresenter::drawPicture(const compat::ScreenRect& rect, int drawableHeight,
                                compat::Look look, const compat::CrtBeam& beam) {
  if (look == compat::Look::sharp && sharpOnProcessor(rect)) {
    drawScaled(rect, drawableHeight);
    return;
  }
  const Program& program = look == compat::Look::integer ? copy_
                           : look == compat::Look::sharp ? sharp_
                                                         : crt_;
  useArea(program, rect, drawableHeight);
  gl_.Uniform2f(program.texels, static_cast<float>(pictureWidth_),
                static_cast<float>(pictureHeight_));
  gl_.Uniform4f(program.beam, beam.linesPerRow, beam.phase, beam.halfScreenLine, beam.depth);
  gl_.ActiveTexture(GL_TEXTURE0);
  gl_.BindTexture(GL_TEXTURE_2D, look == compat::Look::crt ? beams_ : target_);
  gl_.BindSampler(0, look == compat::Look::integer ? nearest_ : 0);
  gl_.DrawArrays(GL_TRIANGLE_STRIP, 0, 4);
  gl_.BindSampler(0, 0);
}

bool GlesPresenter::sharpOnProcessor(const compat::ScreenRect& rect) const {
  return scaleOnProcessor_ && !indices_.empty() && rect.width > 0 && rect.height > 0 &&
         rect.width <= maxTextureSize_ && rect.height <= maxTextureSize_ &&
         std::int64_t{rect.width} * rect.height <= compat::SharpScaler::maxArea;
}

void GlesPresenter::drawScaled(const compat::ScreenRect& rect, int drawableHeight) {
  gl_.ActiveTexture(GL_TEXTURE0);
  gl_.BindTexture(GL_TEXTURE_2D, scaled_);
  if (scaledStale_ || rect.width != scaledWidth_ || rect.height != scaledHeight_) {
    rgba_.resize(indices_.size());
    compat::indexedToRgba(indices_.data(), indices_.size(), keptPalette_, rgba_.data());
    scaledPixels_.resize(static_cast<std::size_t>(rect.width) *
                         static_cast<std::size_t>(rect.height));
    scaler_.scale(rgba_.data(), pictureWidth_, pictureHeight_, rect.width, rect.height,
                  scaledPixels_.data());
    gl_.PixelStorei(GL_UNPACK_ALIGNMENT, 4);
    if (rect.width != scaledWidth_ || rect.height != scaledHeight_)
      gl_.TexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, rect.width, rect.height, 0, GL_RGBA,
                     GL_UNSIGNED_BYTE, scaledPixels_.data());
    else
      gl_.TexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, rect.width, rect.height, GL_RGBA, GL_UNSIGNED_BYTE,
                        scaledPixels_.data());
    scaledWidth_ = rect.width;
    scaledHeight_ = rect.height;
    scaledStale_ = false;
  }
  // One texel to a pixel through the nearest sampler: a plain copy.
  useArea(copy_, rect, drawableHeight);
  gl_.BindSampler(0, nearest_);
  gl_.DrawArrays(GL_TRIANGLE_STRIP, 0, 4);
  gl_.BindSampler(0, 0);
}

void GlesPresenter::drawNotice(int drawableHeight) {
  const compat::NoticePlacement placed =
      compat::placeNotice(noticeWidth_, noticeHeight_, drawableHeight);
  const int factor = placed.factor;
  const compat::ScreenRect& box = placed.box;
  useArea(notice_, box, drawableHeight);
  gl_.Uniform2f(notice_.texels, static_cast<float>(noticeWidth_),
                static_cast<float>(noticeHeight_));
  gl_.Uniform1f(notice_.factor, static_cast<float>(factor));
  gl_.Uniform1f(notice_.margin, static_cast<float>(compat::NoticePlacement::margin));
  gl_.BindTexture(GL_TEXTURE_2D, ink_);
  gl_.Enable(GL_BLEND);
  gl_.BlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
  gl_.DrawArrays(GL_TRIANGLE_STRIP, 0, 4);
  gl_.Disable(GL_BLEND);
}

}  // namespace gles
