// Clipper objects: bound to a window, they let blits onto a windowed primary surface be trimmed
// instead of refused.
#include "platform/compat/ddraw_objects.h"

namespace compat {

DirectDrawClipper::~DirectDrawClipper() { forgetEverywhere(this); }

ULONG DirectDrawClipper::AddRef() { return ++references_; }

ULONG DirectDrawClipper::Release() {
  if (--references_ > 0) return references_;
  owner_->destroy(this);  // frees this clipper
  return 0;
}

HRESULT DirectDrawClipper::GetHWnd(HWND* window) {
  if (window == nullptr) return DDERR_INVALIDPARAMS;
  *window = window_;
  return DD_OK;
}

HRESULT DirectDrawClipper::SetHWnd(DWORD flags, HWND window) {
  if (auto fault = takeFault(testing::DirectDrawCall::SetHWnd)) return *fault;
  if (flags != 0) return DDERR_INVALIDPARAMS;
  window_ = window;
  return DD_OK;
}

}  // namespace compat
