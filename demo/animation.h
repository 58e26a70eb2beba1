// The animation: a rotation angle and a zoom factor advanced once per frame, and for them a
// coarse grid of 16.16 fixed-point texture coordinates at the corners of the 16 x 16-pixel
// blocks of the 320 x 240 picture. Floating point is spent per grid point, never per pixel.
#pragma once

#include <cstdint>

inline constexpr int gridColumnsUsed = 21;  // block corners across: 320 / 16 + 1
inline constexpr int gridRowsUsed = 16;     // block corners down that the mapper reads
inline constexpr int gridCentreColumn = 10;
inline constexpr int gridCentreRow = 7;

// The grids' declared shape is larger than the part in use; the rest stays 0.
inline constexpr int gridColumns = 321;
inline constexpr int gridRows = 241;

extern float zoom;   // texels per grid step; 0.1 before the first frame
extern float angle;  // degrees; grows by 2 per frame and is never reduced

// Texture column (gridU) and row (gridV) at grid point (column k, row r): gridU[k][r].
extern int32_t gridU[gridColumns][gridRows];
extern int32_t gridV[gridColumns][gridRows];

// Called first in every frame: zoom + 0.3 (back to 0.1 past 90), angle + 2 degrees, then the
// 21 x 16 used points of both grids for the new angle and zoom.
void advanceAnimation();
