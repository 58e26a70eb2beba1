#include "platform/screen_core/look_pace.h"

namespace compat {

bool LookPace::record(Look look, std::int64_t ns, std::int64_t periodNs) {
  if (look != look_) {
    look_ = look;
    frames_ = late_ = 0;
  }
  if (periodNs <= 0) return false;
  ++frames_;
  late_ += ns > periodNs;
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

std::string slowLookMessage(Look look, int hz) {
  std::string text =
      "the " + std::string(lookName(look)) + " look cannot keep " + std::to_string(hz) + " Hz here";
  if (const std::optional<Look> cheaper = cheaperLook(look))
    text += ": " + std::string(lookName(*cheaper)) + " costs less";
  return text;
}

}  // namespace compat
