// The looks drawn on the processor where WebGL itself runs there (SwiftShader, llvmpipe): such
// a browser reads every WebGL frame back from its software renderer to composite the page, and
// a 1280 x 960 picture then costs the page several times what the same pixels put on a 2D
// canvas do (measured in headless Chromium: 130 % of a core against under 20 %), and runs the
// CRT look's shaders the slow way at every pixel besides. The integer look at whole factors,
// the sharp look at any size and the CRT look are drawn here (screen_core's SharpScaler and
// CrtScaler: the GPU's sharp look within a level at edges, its CRT look within two, the integer
// look exactly) and put on a 2D canvas over the WebGL2 one, pixel for pixel. The integer look
// scaled down below the picture's size stays on WebGL.
#include "platform/screen_core/rgba_frame.h"
#include "platform/web/web_page_calls.h"
#include "platform/web/web_screen.h"

namespace web {

bool WebScreen::drawOnProcessor() {
  if (!glOnProcessor_ || pictureWidth_ <= 0 || pictureHeight_ <= 0) return false;
  const View view = pageView();
  if (view.width <= 0 || view.height <= 0) return false;
  const compat::ScreenRect rect =
      compat::lookRectangle(view.look, pictureWidth_, pictureHeight_, view.width, view.height);
  const bool crt = view.look == compat::Look::crt &&
                   compat::CrtScaler::draws(rect.width, rect.height, pictureHeight_);
  const bool sharp = view.look == compat::Look::sharp || (view.look == compat::Look::crt && !crt);
  const bool plain = sharp || crt ||
                     (view.look == compat::Look::integer && rect.width >= pictureWidth_ &&
                      rect.width % pictureWidth_ == 0 && rect.height % pictureHeight_ == 0);
  if (!plain || rect.width <= 0 || rect.height <= 0 ||
      std::int64_t{rect.width} * rect.height > compat::SharpScaler::maxArea)
    return false;
  drawnView_ = view;
  // The WebGL2 canvas below keeps the displayed size, as the page and the pointer expect.
  sizeCanvas(view.width, view.height);
  rgba_.resize(picture_.size());
  compat::indexedToRgba(picture_.data(), picture_.size(), palette_, rgba_.data());
  scaled_.resize(static_cast<std::size_t>(rect.width) * static_cast<std::size_t>(rect.height));
  if (crt)
    crtScaler_.scalePart(rgba_.data(), pictureWidth_, pictureHeight_, rect.width, rect.height,
                         rect.x & 1,
                         compat::wholeRectangle(rect.width, rect.height, scaled_.data()));
  else
    scaler_.scale(rgba_.data(), pictureWidth_, pictureHeight_, rect.width, rect.height,
                  scaled_.data());
  const bool moved = !copyShown_ || rect.x != copiedRect_.x || rect.y != copiedRect_.y ||
                     rect.width != copiedRect_.width || rect.height != copiedRect_.height;
  useCopyCanvas(true);
  putFrameAt(reinterpret_cast<const std::uint8_t*>(scaled_.data()), rect.width, rect.height,
             view.width, view.height, rect.x, rect.y, moved);
  copiedRect_ = rect;
  gpuBehind_ = true;
  return true;
}

void WebScreen::useCopyCanvas(bool shown) {
  if (shown == copyShown_) return;
  showCopyCanvas(shown);
  copyShown_ = shown;
}

}  // namespace web
