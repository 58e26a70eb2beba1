#include "tests/support/surface_access.h"

#include <gtest/gtest.h>

#include <sstream>

namespace support {

Picture readSurface(IDirectDrawSurface* surface) {
  DDSURFACEDESC desc{};
  desc.dwSize = sizeof desc;
  Picture picture;
  EXPECT_EQ(surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
  if (desc.lpSurface == nullptr) return picture;
  picture.width = static_cast<int>(desc.dwWidth);
  picture.height = static_cast<int>(desc.dwHeight);
  picture.pixels.resize(static_cast<size_t>(picture.width) * picture.height);
  const auto* bits = static_cast<const uint8_t*>(desc.lpSurface);
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x) picture.at(x, y) = bits[y * desc.lPitch + x];
  EXPECT_EQ(surface->Unlock(desc.lpSurface), DD_OK);
  return picture;
}

void writeSurface(IDirectDrawSurface* surface, const std::function<uint8_t(int, int)>& pixel) {
  DDSURFACEDESC desc{};
  desc.dwSize = sizeof desc;
  ASSERT_EQ(surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
  auto* bits = static_cast<uint8_t*>(desc.lpSurface);
  for (int y = 0; y < static_cast<int>(desc.dwHeight); ++y)
    for (int x = 0; x < static_cast<int>(desc.dwWidth); ++x) bits[y * desc.lPitch + x] = pixel(x, y);
  ASSERT_EQ(surface->Unlock(desc.lpSurface), DD_OK);
}

void writeSurface(IDirectDrawSurface* surface, const Picture& picture) {
  writeSurface(surface, [&](int x, int y) { return picture.at(x, y); });
}

IDirectDrawSurface* createOffscreen(IDirectDraw* directDraw, int width, int height, DWORD caps) {
  DDSURFACEDESC desc{};
  desc.dwSize = sizeof desc;
  desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
  desc.dwWidth = static_cast<DWORD>(width);
  desc.dwHeight = static_cast<DWORD>(height);
  desc.ddsCaps.dwCaps = caps;
  IDirectDrawSurface* surface = nullptr;
  EXPECT_EQ(directDraw->CreateSurface(&desc, &surface, nullptr), DD_OK);
  return surface;
}

std::string firstDifference(const Picture& actual, const Picture& expected) {
  std::ostringstream out;
  if (actual.width != expected.width || actual.height != expected.height) {
    out << "size " << actual.width << "x" << actual.height << ", expected " << expected.width
        << "x" << expected.height;
    return out.str();
  }
  for (int y = 0; y < actual.height; ++y)
    for (int x = 0; x < actual.width; ++x)
      if (actual.at(x, y) != expected.at(x, y)) {
        out << "pixel (" << x << ", " << y << ") is " << int{actual.at(x, y)} << ", expected "
            << int{expected.at(x, y)};
        return out.str();
      }
  return "";
}

}  // namespace support
