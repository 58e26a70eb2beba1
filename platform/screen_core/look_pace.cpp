#include "platform/screen_core/look_pace.h"

#include <charconv>

#include "platform/screen_core/frame_pacer.h"

namespace compat {

bool LookPace::record(Look look, std::int64_t ns) {
  if (look != look_) {
    look_ = look;
    frames_ = late_ = 0;
  }
  ++frames_;
  late_ += ns > FramePacer::modePeriodNs;
  if (frames_ < window) return false;
  const bool slow = late_ > lateAllowed;
  frames_ = late_ = 0;
  bool& said = slow_[static_cast<int>(look)];
  if (!slow || said) return false;
  said = true;
  return true;
}

std::optional<Look> cheaperLook(Look look) {
  switch (look) {
    case Look::crt:
      return Look::sharp;
    case Look::sharp:
      return Look::integer;
    case Look::integer:
      break;
  }
  return std::nullopt;
}

std::string slowLookMessage(Look look, Look drawnAs) {
  constexpr std::int64_t modeHz =
      (1'000'000'000 + FramePacer::modePeriodNs / 2) / FramePacer::modePeriodNs;
  std::string text = "the " + std::string(lookName(look)) + " look cannot keep " +
                     std::to_string(modeHz) + " Hz here";
  if (const std::optional<Look> cheaper = cheaperLook(drawnAs))
    text += ": " + std::string(lookName(*cheaper)) + " costs less";
  return text;
}

std::optional<int> parsePresentDelayMs(std::string_view text) {
  int ms = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, ms);
  if (text.empty() || text.front() == '-' || error != std::errc{} || stop != end || ms < 0 ||
      ms > maxPresentDelayMs)
    return std::nullopt;
  return ms;
}

bool rendersOnProcessor(std::string_view renderer) {
  for (std::string_view software : {"llvmpipe", "softpipe", "SwiftShader"})
    if (renderer.find(software) != std::string_view::npos) return true;
  return false;
}

}  // namespace compat
