// The engine's surface slots as the demo uses them. Slots 0 and 1 are the engine's own (the
// primary surface and the back buffer); the demo asks for six so that its two offscreen
// surfaces have room.
#pragma once

#include <cstdint>

inline constexpr int32_t demoSurfaceCount = 6;
inline constexpr int32_t backBufferSlot = 1;
// The picture the mapper fills and the FPS line is written on, copied to the back buffer.
inline constexpr int32_t pictureSlot = 2;
// The 128 x 128 texture from texture.bmp, at its top-left corner.
inline constexpr int32_t textureSlot = 3;
