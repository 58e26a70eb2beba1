// timeGetTime: the wrapping millisecond clock, which tests may replace.
#include <chrono>
#include <functional>

#include "platform/compat/testing.h"
#include "platform/compat/user32_api.h"

namespace compat {
namespace {

std::function<DWORD()>& clockOverride() {
  static std::function<DWORD()> clock;
  return clock;
}

}  // namespace

namespace testing {

void setClock(std::function<DWORD()> clock) { clockOverride() = std::move(clock); }

}  // namespace testing
}  // namespace compat

DWORD WINAPI timeGetTime() {
  if (compat::clockOverride()) return compat::clockOverride()();
  using namespace std::chrono;
  const auto now = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
  return static_cast<DWORD>(now);  // wraps after 2^32 ms, as the system's clock does
}
