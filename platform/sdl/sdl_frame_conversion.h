// The one pass from an 8-bit picture to the screen's pixels: every index through a 256-entry
// lookup of colours already in the texture's format, written straight into a streaming
// texture.
#pragma once

#include <SDL.h>

#include <array>
#include <cstdint>

namespace sdl {

using ColourLookup = std::array<std::uint32_t, 256>;

// The palette's colours in the given 4-byte pixel format.
void mapColours(Uint32 pixelFormat, const std::uint8_t (*rgb)[3], ColourLookup& lookup);

// Writes width x height pixels (rows `pitch` bytes apart) into `out`, rows packed.
void convertPixels(const std::uint8_t* pixels, int pitch, int width, int height,
                   const ColourLookup& lookup, std::uint32_t* out);

// Writes width x height pixels (rows `pitch` bytes apart) into the texture, which must be a
// streaming texture of a 4-byte format and at least that size. False if it cannot be locked.
bool convertIntoTexture(SDL_Texture* texture, const std::uint8_t* pixels, int pitch, int width,
                        int height, const ColourLookup& lookup);

}  // namespace sdl
