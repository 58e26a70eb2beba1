// The kept 8-bit picture onto the page's canvas on the GPU: a WebGL2 context, Emscripten's
// WebGL2 functions (web_gl_functions.cpp), and the presenter the desktop shares (platform/gles),
// which looks the colours up and scales in the look chosen on the page. The canvas's drawing buffer
// is the size the page shows it at in device pixels, so that the look places every screen
// pixel itself and the browser scales nothing. The browser shows what was drawn when the
// program next gives it the thread.
#include <emscripten/html5.h>

#include <cstdio>
#include <string>

#include "platform/web/web_gl_functions.h"
#include "platform/web/web_page_calls.h"
#include "platform/web/web_screen.h"

namespace web {
namespace {

constexpr char canvasTarget[] = "#canvas";

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
      std::fprintf(stderr, "web screen: presenting on the GPU path, WebGL2 on \"%s\"\n",
                   presenter_.renderer().c_str());
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

WebScreen::View WebScreen::pageView() const {
  int size[2] = {0, 0};
  char lookName[16] = {};
  readPageView(size, lookName, sizeof lookName);
  return {size[0], size[1], compat::parseLook(lookName).value_or(compat::defaultLook)};
}

void WebScreen::drawWithGl() {
  if (pictureChanged_ && pictureWidth_ > 0 && pictureHeight_ > 0)
    presenter_.setPicture(picture_.data(), pictureWidth_, pictureHeight_, pictureWidth_);
  if (paletteChanged_) presenter_.setPalette(palette_);
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
