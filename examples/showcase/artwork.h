// What the showcase draws with, made once at start-up with the engine's own drawing: a palette,
// two pictures, a sprite and the bitmap font's glyph sheet.
#pragma once

#include <cstdint>

// The showcase's surface slots.
inline constexpr int32_t screenWidth = 640;
inline constexpr int32_t screenHeight = 480;
inline constexpr int32_t backBuffer = 1;
inline constexpr int32_t glyphSheet = 2;  // the bitmap font lives in rows 464..479
inline constexpr int32_t ringsPicture = 3;
inline constexpr int32_t bandsPicture = 4;
inline constexpr int32_t sprite = 5;  // a 128 x 128 block at (0, 0), index 0 transparent
inline constexpr int32_t canvas = 6;
inline constexpr int32_t slotCount = 7;
inline constexpr int32_t spriteSide = 128;

// Palette ranges: 0 black, then blue, warm, green and grey ramps, and 255 white.
inline constexpr int32_t blueRamp = 1;
inline constexpr int32_t warmRamp = 64;
inline constexpr int32_t greenRamp = 128;
inline constexpr int32_t greyRamp = 192;
inline constexpr int32_t white = 255;

void makePalette();
void makePictures();
void makeSprite();
// Draws the 37 glyphs (0-9, A-Z and the full stop) in a bold font, and gives the sheet the
// source colour key 0 so keyed copies leave the glyphs' background out.
void makeGlyphSheet();
