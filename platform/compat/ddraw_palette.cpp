// Palette objects: 256 colours; the one attached to the primary surface is the screen's.
#include <algorithm>

#include "platform/compat/ddraw_objects.h"

namespace compat {

namespace {

// The static colours Windows keeps in a 256-colour palette for itself.
constexpr PaletteColour systemLow[10] = {
    {0, 0, 0, 0},     {128, 0, 0, 0},   {0, 128, 0, 0},     {128, 128, 0, 0},   {0, 0, 128, 0},
    {128, 0, 128, 0}, {0, 128, 128, 0}, {192, 192, 192, 0}, {192, 220, 192, 0}, {166, 202, 240, 0},
};
constexpr PaletteColour systemHigh[10] = {
    {255, 251, 240, 0}, {160, 160, 164, 0}, {128, 128, 128, 0}, {255, 0, 0, 0},
    {0, 255, 0, 0},     {255, 255, 0, 0},   {0, 0, 255, 0},     {255, 0, 255, 0},
    {0, 255, 255, 0},   {255, 255, 255, 0},
};

}  // namespace

Palette screenColours(const Palette& palette, bool exclusive) {
  if (exclusive) return palette;
  Palette shown = palette;
  std::copy(std::begin(systemLow), std::end(systemLow), shown.begin());
  std::copy(std::begin(systemHigh), std::end(systemHigh), shown.begin() + 246);
  return shown;
}

DirectDrawPalette::DirectDrawPalette(DirectDrawObject& owner, const PALETTEENTRY* entries)
    : owner_(&owner) {
  for (std::size_t i = 0; i < colours_.size(); ++i)
    colours_[i] = {entries[i].peRed, entries[i].peGreen, entries[i].peBlue, entries[i].peFlags};
}

DirectDrawPalette::~DirectDrawPalette() { forgetEverywhere(this); }

ULONG DirectDrawPalette::AddRef() { return ++references_; }

ULONG DirectDrawPalette::Release() {
  if (--references_ > 0) return references_;
  owner_->destroy(this);  // frees this palette
  return 0;
}

HRESULT DirectDrawPalette::GetEntries(DWORD /*flags*/, DWORD base, DWORD count,
                                      LPPALETTEENTRY entries) {
  if (entries == nullptr || base > colours_.size() || count > colours_.size() - base)
    return DDERR_INVALIDPARAMS;
  for (DWORD i = 0; i < count; ++i) {
    const PaletteColour& c = colours_[base + i];
    entries[i] = {c.red, c.green, c.blue, c.flags};
  }
  return DD_OK;
}

HRESULT DirectDrawPalette::SetEntries(DWORD /*flags*/, DWORD first, DWORD count,
                                      LPPALETTEENTRY entries) {
  if (auto fault = takeFault(testing::DirectDrawCall::SetEntries)) return *fault;
  if (entries == nullptr || first > colours_.size() || count > colours_.size() - first)
    return DDERR_INVALIDPARAMS;
  for (DWORD i = 0; i < count; ++i)
    colours_[first + i] = {entries[i].peRed, entries[i].peGreen, entries[i].peBlue,
                           entries[i].peFlags};
  // A palette display changes colour at once, between frames too.
  if (const DirectDrawObject* showing = objectShowing(this))
    activeScreen().updatePalette(screenColours(colours_, showing->exclusive()));
  return DD_OK;
}

}  // namespace compat
