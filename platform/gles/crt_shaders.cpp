// The CRT look: the picture as a VGA monitor of its time showed a 320 x 240 mode, double
// scanned (two beam lines to each picture line), on a screen of today.
//
// Two passes. The first works across the lines, which needs most of the arithmetic, once for
// each picture column and screen line (a fifth of the screen's pixels at 1080 lines): each
// column's beam lines, each beam as wide as its column's colour makes it, and the glow. The
// second works along the lines, at every screen pixel: the sharp look's edges between columns,
// and the mask.
//
// It works in light, not in the stored values: beams overlapping, a mask dimming some stripes
// and a glow spreading are sums of light, and summed in the stored (gamma-encoded) values they
// would darken the picture and shift its colours. Light is taken as the stored value squared
// (gamma 2): within a few percent of a monitor's curve, and a square and a square root are what
// a software rasteriser can afford for every pixel.
//
// Everything here keeps the mean light of each area as it is in the picture, so the look is
// as bright as the sharp look: the beam's profile has unit area (integrated over each pixel's
// height), the mask raises each colour in one column as much as it lowers it in the next, and
// the glow is mixed in, not added. Only the brightest light clips, a little (the
// centres of the brightest lines, and the mask where it has no room left): black and white
// stripes lose about 4 % of their light, a flat mid-grey about 2 %, the demo's frames under 1 %.
#include "platform/gles/picture_shaders.h"

namespace gles::shaders {

const char* const crtBeams = R"(#version 300 es
precision highp float;
uniform sampler2D colour;  // the picture's colours
uniform sampler2D glow;    // the picture blurred at a quarter size, as the square root of light
uniform vec2 texels;
// The look's rectangle's height, in screen lines; this pass draws a line of the picture's
// width for each of them, the rectangle's top first.
uniform float screenLines;
// x: beam lines to a picture line; y: the beams' offset, in beam lines, that puts a beam's
// centre on a screen line's centre; z: half a screen line, in beam lines; w: how much of the
// effect shows (1 where the screen has lines enough for it, down to 0 where it has not).
uniform vec4 beam;
out vec4 fragColour;

// A beam line's width in beam lines, dark and at full brightness.
const float narrowest = 0.5;
const float widest = 0.9;
// The share of each pixel's light that is the glow of its surroundings.
const float glowShare = 0.06;
// How far the second pass's mask raises and lowers each colour's light (as there).
const float maskDepth = 0.2;

vec3 light(vec3 stored) { return stored * stored; }

// The beam's profile is K(d / w) / w for d beam lines from its centre, w its width, with
// K(x) = 1 - 3x^2 + 2|x|^3 on |x| < 1: unit area, smooth, and at w = 1 the profiles of lines one
// apart would add up to a flat field (K(x) + K(1 - x) = 1). The brightest lines, 0.9 wide, nearly
// merge, as a real beam's do, and keep a trace of their structure. This is the integral of K
// from 0 to x: x - x^3 + x^4 / 2, odd, 1/2 beyond 1.
vec3 halfIntegral(vec3 x) {
  vec3 t = min(abs(x), 1.0);
  return sign(x) * t * (1.0 - t * t * (1.0 - 0.5 * t));
}

// The beam's mean over a pixel's height [d - h, d + h]: a pixel shows the light that falls on
// it, not the profile's value at its centre, which would alias on screens with few lines to a
// beam line.
vec3 beamMean(vec3 width, float d, float h) {
  vec3 inverse = 1.0 / width;
  return (halfIntegral((d + h) * inverse) - halfIntegral((d - h) * inverse)) / (2.0 * h);
}

void main() {
  int column = int(gl_FragCoord.x);
  float y = gl_FragCoord.y / screenLines * texels.y;  // in picture lines
  // The two beam lines nearest the screen line: the one it is in and the nearer neighbour (a
  // beam at most 1 wide reaches no further).
  float lines = texels.y * beam.x;
  float b = y * beam.x + beam.y;
  float line = floor(b);
  float d = b - line - 0.5;
  float side = d < 0.0 ? -1.0 : 1.0;
  float other = line + side;
  int hereRow = int(clamp(line, 0.0, lines - 1.0) / beam.x);
  int thereRow = int(clamp(other, 0.0, lines - 1.0) / beam.x);
  vec3 here = light(texelFetch(colour, ivec2(column, hereRow), 0).rgb);
  vec3 there = light(texelFetch(colour, ivec2(column, thereRow), 0).rgb);

  // Brighter beams are wider, each colour's on its own, as a real beam's spot grows with its
  // current: dark lines show gaps between them, bright ones close up. No beam runs above the
  // picture's first line or below its last.
  float h = beam.z;
  float hereRuns = line >= 0.0 && line < lines ? 1.0 : 0.0;
  float thereRuns = other >= 0.0 && other < lines ? 1.0 : 0.0;
  vec3 hereWidth = mix(vec3(narrowest), vec3(widest), here);
  vec3 thereWidth = mix(vec3(narrowest), vec3(widest), there);
  vec3 scanned = hereRuns * here * beamMean(hereWidth, d, h) +
                 thereRuns * there * beamMean(thereWidth, d - side, h);
  // Without lines: the two rows by their coverage of the screen line, to fade to as lines run
  // out (the edge rows held beyond the picture's edge, as the sharp look holds them).
  vec3 plain = mix(here, there, clamp((abs(d) - 0.5) / (2.0 * h) + 0.5, 0.0, 1.0));
  vec3 lit = mix(plain, scanned, beam.w);

  // A little of the light spread around, as the glass and the phosphor spread it.
  vec2 around = vec2(float(column) + 0.5, y) / (4.0 * vec2(textureSize(glow, 0)));
  lit = mix(lit, light(textureLod(glow, around, 0.0).rgb), glowShare * beam.w);

  // How far the second pass's mask may raise this light without clipping, as a share of the
  // mask's depth: all of it up to 1 / (1 + maskDepth), down to a quarter at full light (the
  // mask then dims a little; clipped, it would dim more).
  float brightest = max(lit.r, max(lit.g, lit.b));
  float room = clamp((1.0 - brightest) / (maskDepth * max(brightest, 1e-4)), 0.25, 1.0);
  fragColour = vec4(sqrt(lit), room * beam.w);
}
)";

const char* const crtLook = R"(#version 300 es
precision highp float;
uniform sampler2D beams;  // the first pass: a picture column to a texel, a screen line to a row
uniform vec4 area;
uniform vec2 texels;
in vec2 picture;
out vec4 fragColour;

// How far the mask raises and lowers each colour's light (as in the first pass, whose room is
// a share of it).
const float maskDepth = 0.2;

void main() {
  // Along the line the beam changes colour well within a pixel of the mode: the sharp look's
  // edges between columns (see the sharp look), mixed here from the two columns themselves.
  // Across, the pixel's own screen line: no blending.
  float s = area.z / texels.x;
  float t = picture.x * texels.x;
  float k = floor(t + 0.5);
  float c = clamp((t - k) * s + 0.5, 0.0, 1.0);
  int line = int(picture.y * area.w);
  int last = int(texels.x) - 1;
  vec4 shown = mix(texelFetch(beams, ivec2(clamp(int(k) - 1, 0, last), line), 0),
                   texelFetch(beams, ivec2(min(int(k), last), line), 0), c);

  // An aperture grille at the screen's own pixels: columns alternately magenta (red and blue
  // stripes) and green, each colour's light raised in one column and lowered as much in the
  // next, so the mean stays. On the stored values: a factor of 1 + m on light is near enough
  // 1 + m / 2 on its square root.
  vec3 raise = mod(gl_FragCoord.x - 0.5, 2.0) < 0.5 ? vec3(1.0, -1.0, 1.0) : vec3(-1.0, 1.0, -1.0);
  fragColour = vec4(shown.rgb * (1.0 + 0.5 * maskDepth * shown.a * raise), 1.0);
}
)";

const char* const glowReduce = R"(#version 300 es
precision highp float;
uniform sampler2D colour;
out vec4 fragColour;
// The mean light of a 4 x 4 block of the picture (clamped at its edges).
void main() {
  ivec2 first = ivec2(gl_FragCoord.xy) * 4;
  ivec2 last = textureSize(colour, 0) - 1;
  vec3 sum = vec3(0.0);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) {
      vec3 c = texelFetch(colour, min(first + ivec2(x, y), last), 0).rgb;
      sum += c * c;
    }
  fragColour = vec4(sqrt(sum / 16.0), 1.0);
}
)";

const char* const glowBlur = R"(#version 300 es
precision highp float;
uniform sampler2D source;
uniform ivec2 direction;
out vec4 fragColour;
// A binomial blur, five texels along one axis, in light.
void main() {
  ivec2 at = ivec2(gl_FragCoord.xy);
  ivec2 last = textureSize(source, 0) - 1;
  float weights[5] = float[5](1.0, 4.0, 6.0, 4.0, 1.0);
  vec3 sum = vec3(0.0);
  for (int i = 0; i < 5; ++i) {
    vec3 c = texelFetch(source, clamp(at + direction * (i - 2), ivec2(0), last), 0).rgb;
    sum += weights[i] * c * c;
  }
  fragColour = vec4(sqrt(sum / 16.0), 1.0);
}
)";

}  // namespace gles::shaders
