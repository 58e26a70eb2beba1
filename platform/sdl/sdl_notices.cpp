// The looks, chosen on the screen's side (the program never sees them), and the short notices
// the screen shows over the picture: the look's name when it changes, where a screenshot went,
// and the mark under them while a recording runs; and whether the look keeps the mode's rate.
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "platform/sdl/sdl_screen.h"

namespace sdl {
namespace {

constexpr std::int64_t lookNoticeNs = 1'200'000'000;
// Long enough to read a sentence.
constexpr std::int64_t slowNoticeNs = 5'000'000'000;

}  // namespace

void SdlScreen::cycleLook() {
  look_ = compat::nextLook(look_);
  rememberView();
  const std::string name(compat::lookName(look_));
  if (glContext_ == nullptr && !onProcessor_)
    showNotice(name + " (whole factors without OpenGL ES 3.0)", lookNoticeNs);
  else if (const std::string& slow = slowMessages_[static_cast<int>(look_)]; !slow.empty())
    showNotice(name + "\n" + slow, slowNoticeNs);
  else
    showNotice(name, lookNoticeNs);
}

bool SdlScreen::timePresentation(std::int64_t ns) {
  // The test hook: presentations made slower by as much, to see the look found too slow.
  static const int addedMs = [] {
    const char* value = std::getenv("ROTOZOOM_PRESENT_DELAY_MS");
    if (value == nullptr) return 0;
    const std::optional<int> ms = compat::parsePresentDelayMs(value);
    if (!ms)
      std::fprintf(stderr,
                   "screen: ROTOZOOM_PRESENT_DELAY_MS=%s ignored: not a whole number of "
                   "milliseconds from 0 to %d\n",
                   value, compat::maxPresentDelayMs);
    return ms.value_or(0);
  }();
  if (addedMs > 0) {
    SDL_Delay(static_cast<Uint32>(addedMs));
    ns += std::int64_t{addedMs} * 1'000'000;
  }
  return pace_.record(shownLook(), ns);
}

void SdlScreen::showSlowLook() {
  const compat::Look look = shownLook();
  std::string& message = slowMessages_[static_cast<int>(look)];
  message = compat::slowLookMessage(look, onProcessor_ ? processorLook_ : presenter_.drawnLook());
  std::fprintf(stderr, "screen: %s\n", message.c_str());
  showNotice(std::string(compat::lookName(look)) + "\n" + message, slowNoticeNs);
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
