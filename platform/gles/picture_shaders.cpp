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
