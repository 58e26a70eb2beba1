// The state behind testing.h: failures waiting to fire, lost surfaces, recorded settings.
#include <deque>
#include <map>

#include "platform/compat/ddraw_objects.h"
#include "platform/compat/user32_api.h"

namespace compat {
namespace {

struct PendingFailure {
  HRESULT result;
  int skip;
};

std::map<testing::DirectDrawCall, std::deque<PendingFailure>>& pendingFailures() {
  static std::map<testing::DirectDrawCall, std::deque<PendingFailure>> failures;
  return failures;
}

std::optional<DWORD> recordedCooperativeLevel;
std::optional<testing::DisplayMode> recordedDisplayMode;

}  // namespace

std::optional<HRESULT> takeFault(testing::DirectDrawCall call) {
  auto found = pendingFailures().find(call);
  if (found == pendingFailures().end() || found->second.empty()) return std::nullopt;
  PendingFailure& next = found->second.front();
  if (next.skip > 0) {
    --next.skip;
    return std::nullopt;
  }
  const HRESULT result = next.result;
  found->second.pop_front();
  return result;
}

void recordCooperativeLevel(DWORD flags) { recordedCooperativeLevel = flags; }
void recordDisplayMode(const testing::DisplayMode& mode) { recordedDisplayMode = mode; }

namespace testing {

void failCall(DirectDrawCall call, HRESULT result, int skip) {
  pendingFailures()[call].push_back({result, skip});
}

void clearFailures() { pendingFailures().clear(); }

void forgetExclusiveWindow() { lastExclusiveWindow() = nullptr; }

void loseSurface(IDirectDrawSurface* surface) {
  static_cast<DirectDrawSurface*>(surface)->markLost();
}

std::optional<DWORD> lastCooperativeLevel() { return recordedCooperativeLevel; }
std::optional<DisplayMode> lastDisplayMode() { return recordedDisplayMode; }

HWND testWindow() {
  // A real pop-up window at the desktop's corner, of the size the demo's window has.
  static HWND window = [] {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.lpszClassName = "compat test window";
    RegisterClassA(&windowClass);
    return CreateWindowExA(0, "compat test window", "test", WS_POPUP, 0, 0, 326, 265, nullptr,
                           nullptr, nullptr, nullptr);
  }();
  return window;
}

}  // namespace testing
}  // namespace compat
