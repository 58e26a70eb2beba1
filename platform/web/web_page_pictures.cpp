// The kept picture for what the page does with it, which the program never sees: the saved
// picture (8 bits with the palette, written as an indexed PNG by pages/saved_picture.js) and
// a recording's frames (pages/recording.js), converted here by the desktop's own conversion so
// that both platforms' videos hold the same colours in the same blocks. The page calls the two
// exported functions through the hooks that web_page_calls.cpp installs.
#include <emscripten.h>

#include <cstddef>

#include "platform/media/video_colours.h"
#include "platform/web/web_screen.h"

namespace web {
namespace {

// The page reads these offsets (web_page_calls.cpp).
static_assert(offsetof(WebScreen::PagePicture, pixels) == 8);
static_assert(offsetof(WebScreen::PagePicture, palette) == 16);

// The desktop's recordings' scale: 4 for the 320 x 240 mode, 2 for larger pictures.
int videoFactor(int width, int height) { return width <= 480 && height <= 360 ? 4 : 2; }

}  // namespace

const WebScreen::PagePicture& WebScreen::pictureForPage() {
  const bool shown = pictureWidth_ > 0 && pictureHeight_ > 0;
  pagePicture_.width = shown ? pictureWidth_ : 0;
  pagePicture_.height = shown ? pictureHeight_ : 0;
  pagePicture_.pixels = picture_.data();
  pagePicture_.size = shown ? pictureWidth_ * pictureHeight_ : 0;
  for (int i = 0; i < 256; ++i) {
    pagePicture_.palette[3 * i] = palette_[i].red;
    pagePicture_.palette[3 * i + 1] = palette_[i].green;
    pagePicture_.palette[3 * i + 2] = palette_[i].blue;
  }
  return pagePicture_;
}

const WebScreen::PagePicture& WebScreen::videoPictureForPage() {
  pictureForPage();
  if (pagePicture_.width == 0) return pagePicture_;
  const int factor = videoFactor(pictureWidth_, pictureHeight_);
  const int width = pictureWidth_ * factor, height = pictureHeight_ * factor;
  const std::size_t luma = static_cast<std::size_t>(width) * height;
  videoPlanes_.resize(luma + luma / 2);
  std::uint8_t* planes = videoPlanes_.data();
  const compat::IndexedFrame frame{picture_.data(), pictureWidth_, pictureHeight_, pictureWidth_};
  video::writeStudioBlocks(
      frame, palette_, factor,
      {{planes, planes + luma, planes + luma + luma / 4}, {width, width / 2, width / 2}});
  pagePicture_.width = width;
  pagePicture_.height = height;
  pagePicture_.pixels = planes;
  pagePicture_.size = static_cast<std::int32_t>(videoPlanes_.size());
  return pagePicture_;
}

}  // namespace web

extern "C" {

EMSCRIPTEN_KEEPALIVE const web::WebScreen::PagePicture* rz_page_picture() {
  return &web::webScreen().pictureForPage();
}

EMSCRIPTEN_KEEPALIVE const web::WebScreen::PagePicture* rz_page_video_picture() {
  return &web::webScreen().videoPictureForPage();
}

}  // extern "C"
