// The looks, chosen on the screen's side (the program never sees them), and the short notices
// the screen shows over the picture: the look's name when it changes, where a screenshot went,
// and the mark under them while a recording runs.
#include <string>

#include "platform/sdl/sdl_screen.h"

namespace sdl {
namespace {

constexpr std::int64_t lookNoticeNs = 1'200'000'000;

}  // namespace

void SdlScreen::cycleLook() {
  look_ = compat::nextLook(look_);
  rememberView();
  const std::string name(compat::lookName(look_));
  showNotice(glContext_ != nullptr ? name : name + " (whole factors without OpenGL ES 3.0)",
             lookNoticeNs);
}

void SdlScreen::showNotice(const std::string& text, std::int64_t durationNs) {
  noticeText_ = text;
  noticeUntilNs_ = nowNs() + durationNs;
  noticeChanged_ = true;
  showPicture();
}

std::string SdlScreen::noticeLines() const {
  if (markText_.empty()) return noticeText_;
  return noticeText_.empty() ? markText_ : noticeText_ + "\n" + markText_;
}

void SdlScreen::expireNotice() {
  if (noticeText_.empty() || nowNs() < noticeUntilNs_) return;
  noticeText_.clear();
  noticeChanged_ = true;
  showPicture();
}

}  // namespace sdl
