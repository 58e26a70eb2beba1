#include "display/palette_tables.h"

PALETTEENTRY basePalette[256];
PALETTEENTRY shownPalette[256];
