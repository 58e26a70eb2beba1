// The degree conversions every turned position is computed with. Positions depend on these
// decimal values, not on pi / 180 and 180 / pi in full, so the demo's sine tables and the
// engine's turned sprite and sine strips share this one definition.
#pragma once

inline constexpr double radiansPerDegree = 0.017453292;
inline constexpr double degreesPerRadian = 57.29577951;
