// The kept 8-bit picture onto the page's canvas on the GPU: a WebGL2 context, Emscripten's
// WebGL2 functions (web_gl_functions.cpp), and the presenter the desktop shares (platform/gles),
// which looks the colours up and scales in the look chosen on the page. The canvas's drawing buffer
// is the size the page shows it at in device pixels, so that the look places every screen
// pixel itself and the browser scales nothing. The browser shows what was drawn when the
// program next gives it the thread.
#include <emscripten/html5.h>

#include <cstdio>
#include <string>

#include "platform/screen_core/look_pace.h"
#include "platform/web/web_gl_functions.h"
#include "platform/web/web_page_calls.h"
#include "platform/web/web_screen.h"

namespace web {
namespace {

constexpr char canvasTarget[] = "#canvas";

EM_BOOL onContextLost(int, const void*, void* screen) {
  static_cast<WebScreen*>(screen)->contextLost();
  return EM_TRUE;  // the default prevented: the browser may then restore the context
}

EM_BOOL onContextRestored(int, const void*, void* screen) {
  static_cast<WebScreen*>(screen)->contextRestored();
  return EM_TRUE;
}

}  // namespace

bool WebScreen::startGl() {
  EmscriptenWebGLContextAttributes attributes;
  emscripten_webgl_init_context_attributes(&attributes);
  attributes.majorVersion = 2;
  attributes.minorVersion = 0;
  // The picture covers the canvas and is drawn whole each time: no alpha to blend with the
  // page, no depth or stencil, no multisampling to blur the looks' pixels, nothing kept
  // between frames.
  attributes.alpha = EM_FALSE;
  attributes.depth = EM_FALSE;
  attributes.stencil = EM_FALSE;
  attributes.antialias = EM_FALSE;
  attributes.preserveDrawingBuffer = EM_FALSE;
  attributes.enableExtensionsByDefault = EM_FALSE;  // the presenter needs none
  const EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context =
      emscripten_webgl_create_context(canvasTarget, &attributes);
  std::string reason = "the browser gives the canvas no WebGL2 context";
  if (context > 0) {
    emscripten_webgl_make_context_current(context);
    if (presenter_.start(webGlFunctions())) {
      context_ = context;
      presenter_.setPalette(palette_);
      char renderer[256] = {};
      readGlRenderer(renderer, sizeof renderer);
      glOnProcessor_ = compat::rendersOnProcessor(renderer) && pageAllowsProcessorLooks();
      std::fprintf(stderr, "web screen: presenting on the GPU path, WebGL2 on \"%s\"%s\n", renderer,
                   glOnProcessor_ ? "; it runs on the processor: the looks are drawn there "
                                    "onto a 2D canvas, which costs less"
                                  : "");
      // Taken off the page with the program's other listeners when it ends.
      emscripten_set_webglcontextlost_callback(canvasTarget, this, EM_TRUE, onContextLost);
      emscripten_set_webglcontextrestored_callback(canvasTarget, this, EM_TRUE, onContextRestored);
      return true;
    }
    reason = "the presenter cannot run on the WebGL2 context";
    emscripten_webgl_make_context_current(0);
    emscripten_webgl_destroy_context(context);
    // That canvas would give no 2D context now.
    useFreshCanvas();
  }
  std::fprintf(stderr,
               "web screen: %s; the picture goes to a 2D canvas at its own size, scaled by "
               "the page without the looks\n",
               reason.c_str());
  return false;
}

void WebScreen::contextLost() {
  // Every GL call on a lost context does nothing: the presenter lets go of its objects now,
  // before a restored context could take their names for something of its own.
  presenter_.stop();
  contextLost_ = true;
  restorePending_ = false;
}

bool WebScreen::followContext() {
  bool redraw = false;
  if (contextLost_ && !standIn_) {
    std::fprintf(stderr,
                 "web screen: the WebGL2 context was lost; the picture goes to a 2D canvas "
                 "without the looks until the browser restores it\n");
    showStandIn(true);
    standIn_ = true;
    redraw = true;
  }
  if (restorePending_) {
    restorePending_ = false;
    const auto context = static_cast<EMSCRIPTEN_WEBGL_CONTEXT_HANDLE>(context_);
    // Lost again since it came back, the loss's event still to come: nothing can start on it,
    // and the next return is reported as this one was.
    if (emscripten_is_webgl_context_lost(context)) return redraw;
    emscripten_webgl_make_context_current(context);
    if (!presenter_.start(webGlFunctions())) {
      std::fprintf(stderr,
                   "web screen: the presenter cannot run on the restored WebGL2 context; the "
                   "picture stays on the 2D canvas\n");
      return redraw;
    }
    presenter_.setPalette(palette_);
    if (pictureWidth_ > 0 && pictureHeight_ > 0)
      presenter_.setPicture(picture_.data(), pictureWidth_, pictureHeight_, pictureWidth_);
    contextLost_ = false;
    standIn_ = false;
    showStandIn(false);
    std::fprintf(stderr,
                 "web screen: the WebGL2 context is back; the picture is drawn in the "
                 "look again\n");
    redraw = true;
  }
  return redraw;
}

WebScreen::View WebScreen::pageView() const {
  int size[2] = {0, 0};
  char lookName[16] = {};
  readPageView(size, lookName, sizeof lookName);
  return {size[0], size[1], compat::parseLook(lookName).value_or(compat::defaultLook)};
}

void WebScreen::drawWithGl() {
  if ((pictureChanged_ || gpuBehind_) && pictureWidth_ > 0 && pictureHeight_ > 0)
    presenter_.setPicture(picture_.data(), pictureWidth_, pictureHeight_, pictureWidth_);
  if (paletteChanged_ || gpuBehind_) presenter_.setPalette(palette_);
  gpuBehind_ = false;
  drawnView_ = pageView();
  // A canvas the page does not show (a hidden stage) has nothing to draw into.
  if (drawnView_.width <= 0 || drawnView_.height <= 0) return;
  sizeCanvas(drawnView_.width, drawnView_.height);
  // The browser may give a canvas too large for the GPU a smaller drawing buffer.
  int width = 0, height = 0;
  emscripten_webgl_get_drawing_buffer_size(static_cast<EMSCRIPTEN_WEBGL_CONTEXT_HANDLE>(context_),
                                           &width, &height);
  presenter_.draw(width, height, drawnView_.look);
}

}  // namespace web
