// The engine's two colour tables, in the layout of PALETTEENTRY: red, green, blue, flags.
#pragma once

#include "platform/win32.h"

// The colours as loaded or set; the display palette is created from it.
extern PALETTEENTRY basePalette[256];
// The colours last handed to the display palette.
extern PALETTEENTRY shownPalette[256];
