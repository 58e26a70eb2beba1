// Helpers for tests of GDI drawing on surfaces: a palette to match into, and where ink went.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/win32.h"
#include "tests/support/surface_access.h"

namespace support {

// A palette where each test colour has an index of its own: 0 black, 1 the shadow's
// (1, 1, 1), 2 red, 3 green, 4 blue, 5 white, 6 grey; the rest a dark blue-grey ramp that
// none of those matches.
void fillTestPalette(PALETTEENTRY (&entries)[256]);
inline constexpr uint8_t blackIndex = 0, shadowIndex = 1, redIndex = 2, greenIndex = 3,
                         blueIndex = 4, whiteIndex = 5, greyIndex = 6;

// The smallest rectangle holding every pixel of the given index; nothing if there is none.
std::optional<RECT> boundsOf(const Picture& picture, uint8_t index);
long countOf(const Picture& picture, uint8_t index);

}  // namespace support
