#include "platform/gles/picture_shaders.h"

namespace gles::shaders {

const char* const coverViewport = R"(#version 300 es
// Vertices 0 to 3 as a strip: the viewport's corners, as two triangles that make a rectangle
// (which software rasterisers draw fastest). `picture` runs from (0, 0) at the top-left to
// (1, 1) at the bottom-right, as the picture's rows do on the screen.
out vec2 picture;
void main() {
  vec2 corner = vec2(float(gl_VertexID & 1), float(gl_VertexID >> 1));
  picture = vec2(corner.x, 1.0 - corner.y);
  gl_Position = vec4(corner * 2.0 - 1.0, 0.0, 1.0);
}
)";

const char* const sharpStrips = R"(#version 300 es
// The sharp look's mapping along one axis, as geometry: the target's `texels` texels drawn
// `scale` pixels each, in strips that run across the whole target. Flat strips (parity 1) hold
// texel k's centre over the pixels that lie inside it; ramps (parity 0) run from texel k - 1's
// centre to texel k's over the pixels that straddle boundary k (at most one: they span 1 / scale
// of a texel, the span of a pixel). The rasteriser interpolates `picture` linearly along each
// strip, so the fragment stage is a plain texture read: nearest in the flat strips, linear in the
// ramps, where the filter blends the two texels by the pixel's share of each (see the sharp
// look's comment in the presenter). Quad q of the draw is vertices 6q to 6q + 5.
uniform float texels;  // along the axis
uniform float scale;   // pixels to a texel along the axis
uniform int axis;      // 0: strips side by side along x, 1: along y (from the top)
uniform int parity;    // 0: the ramps at boundaries 0 to texels, 1: the flat parts of texels
uniform float flipY;   // 1 into a texture (row 0 at the top), -1 onto the screen
out vec2 picture;
out vec2 area;  // where the pixel lies on the target, (0, 0) to (1, 1), rows from the top
void main() {
  int quad = gl_VertexID / 6;
  int corner = gl_VertexID - 6 * quad;
  float end = (corner == 1 || corner == 4 || corner == 5) ? 1.0 : 0.0;   // along the axis
  float side = (corner == 2 || corner == 3 || corner == 5) ? 1.0 : 0.0;  // across it
  float k = float(quad);
  float half_ = min(0.5 / scale, 0.5);  // half a pixel, in texels, and no more than half a texel
  float t0, t1, u0, u1;
  if (parity == 0) {
    t0 = max(k - half_, 0.0);
    t1 = min(k + half_, texels);
    u0 = k - 0.5 + clamp((t0 - k) * scale + 0.5, 0.0, 1.0);
    u1 = k - 0.5 + clamp((t1 - k) * scale + 0.5, 0.0, 1.0);
  } else {
    t0 = k + half_;
    t1 = max(k + 1.0 - half_, t0);
    u0 = u1 = k + 0.5;
  }
  float along = mix(t0, t1, end) / texels;
  float u = mix(u0, u1, end) / texels;
  area = axis == 0 ? vec2(along, side) : vec2(side, along);
  picture = axis == 0 ? vec2(u, side) : vec2(side, u);
  gl_Position = vec4(area.x * 2.0 - 1.0, flipY * (area.y * 2.0 - 1.0), 0.0, 1.0);
}
)";

const char* const paletteLookup = R"(#version 300 es
precision highp float;
uniform sampler2D picture;  // R8: the index as n / 255
uniform sampler2D palette;  // 256 x 1, RGBA8
out vec4 fragColour;
void main() {
  float index = texelFetch(picture, ivec2(gl_FragCoord.xy), 0).r;
  fragColour = vec4(texelFetch(palette, ivec2(int(index * 255.0 + 0.5), 0), 0).rgb, 1.0);
}
)";

const char* const copyPicture = R"(#version 300 es
precision highp float;
uniform sampler2D colour;
in vec2 picture;
out vec4 fragColour;
// The texture over the viewport, sampled as the texture unit's sampler says. Nothing but the
// texture read: software rasterisers run such a shader as a plain copy, many times faster.
void main() { fragColour = texture(colour, picture); }
)";

const char* const sharpLook = R"(#version 300 es
precision highp float;
uniform sampler2D colour;  // linear filtering
uniform vec4 area;
uniform vec2 texels;
in vec2 picture;
out vec4 fragColour;
// Area coverage. With s screen pixels to a texel, a pixel whose centre is at t (in texels)
// covers [t - 1/2s, t + 1/2s]. Let k be the texel boundary nearest t: the share of the pixel
// beyond k is c = clamp((t - k) s + 1/2, 0, 1), which is 0 or 1 unless the pixel straddles k.
// Its colour is then mix(texel k-1, texel k, c): exactly what the linear filter returns at
// k - 1/2 + c, between the centres of the two texels (k - 1/2 and k + 1/2). So each texel is a
// solid block whose edge blends over at most one pixel, at any factor, and a moving picture
// never shimmers. Separately in x and y: the 2-D coverage is the product of the two shares,
// which is what the bilinear weights are.
void main() {
  vec2 s = area.zw / texels;
  vec2 t = picture * texels;
  vec2 k = floor(t + 0.5);
  vec2 c = clamp((t - k) * s + 0.5, 0.0, 1.0);
  fragColour = vec4(textureLod(colour, (k - 0.5 + c) / texels, 0.0).rgb, 1.0);
}
)";

const char* const notice = R"(#version 300 es
precision highp float;
uniform sampler2D ink;  // R8: 1 where a glyph has ink
uniform vec4 area;      // the notice's box on the drawable
uniform float drawableHeight;
uniform vec2 texels;    // the ink image's size
uniform float factor;   // screen pixels to an ink pixel
uniform float margin;   // ink pixels of box around the text
out vec4 fragColour;
// Premultiplied, for blending with (ONE, ONE_MINUS_SRC_ALPHA): ink is white, the rest of the
// box darkens what is under it to a third so the text reads on any picture.
void main() {
  vec2 p = (vec2(gl_FragCoord.x, drawableHeight - gl_FragCoord.y) - area.xy) / factor - margin;
  float a = 0.0;
  if (all(greaterThanEqual(p, vec2(0.0))) && all(lessThan(p, texels)))
    a = texelFetch(ink, ivec2(p), 0).r;
  fragColour = vec4(vec3(a), mix(0.65, 1.0, a));
}
)";

}  // namespace gles::shaders
