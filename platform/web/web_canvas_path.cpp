// The picture without WebGL2: through its palette into RGBA on the processor, and onto the
// page's 2D canvas at the picture's own size, which the page scales with nearest sampling.
#include "platform/screen_core/rgba_frame.h"
#include "platform/web/web_page_calls.h"
#include "platform/web/web_screen.h"

namespace web {

void WebScreen::drawOnCanvas() {
  if (pictureWidth_ == 0 || pictureHeight_ == 0) return;
  rgba_.resize(picture_.size());
  compat::indexedToRgba(picture_.data(), picture_.size(), palette_, rgba_.data());
  putFrame(reinterpret_cast<const std::uint8_t*>(rgba_.data()), pictureWidth_, pictureHeight_);
}

}  // namespace web
