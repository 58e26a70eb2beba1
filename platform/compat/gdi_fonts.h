// Fonts for GDI text: a face found by name, weight, slant and character set, its glyphs drawn
// at the requested size without anti-aliasing (a palette display has no colours between ink and
// paper) and turned by the escapement. Characters the face lacks come from another face that
// has them. Glyphs are drawn once per font. No Windows types here: the SDL screen draws its
// message boxes' text with it too. The sizes and the cell's layout are shared
// (gdi_font_layout.cpp); the faces themselves (FontFace::Face, open, faceFor, glyph) come from
// one file per platform:
//   desktop (platform/desktop/fonts_freetype_fontconfig.cpp): fontconfig finds the faces,
//     FreeType rasterises;
//   web (platform/web/web_fonts.cpp): the browser's canvas text, with the browser's fallback.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace compat {

struct FontRequest {
  int height;      // > 0: cell height; < 0: character (em) height; 0: the default, 16
  int width;       // average character width; 0: the face's own proportions
  int escapement;  // tenths of a degree, counter-clockwise
  int weight;      // 0..1000; 600 and more is bold
  bool italic;
  std::uint32_t charSet;  // a Windows character-set number; 128 is Shift-JIS
  std::string faceUtf8;   // empty: the system's sans-serif
};

inline constexpr int defaultCellHeight = 16;    // a height of 0 asks for the default font's
inline constexpr int largestFontPixels = 2048;  // larger sizes are refused

// Whether the sizes asked for are ones a font can be made in.
bool sensibleFontSize(const FontRequest& request);

// The escapement's angle in radians.
double escapementRadians(const FontRequest& request);

struct Glyph {
  int left = 0;  // of the ink, from the pen position, in pixels (y grows downward)
  int top = 0;
  int width = 0;
  int rows = 0;
  std::vector<std::uint8_t> ink;  // width x rows, 1 where the glyph is drawn
  double advance = 0;             // along the baseline, before turning, in pixels
};

class FontFace {
 public:
  // Null when no face can be found or loaded, or the size is absurd.
  static std::unique_ptr<FontFace> open(const FontRequest& request);
  ~FontFace();

  const Glyph& glyph(char32_t character);
  int ascent() const { return ascent_; }
  int cellHeight() const { return ascent_ + descent_; }
  // The baseline's direction: cosine and sine of the escapement.
  double directionX() const { return cos_; }
  double directionY() const { return sin_; }

 private:
  struct Face;
  FontFace() = default;
  Face* faceFor(char32_t character);
  // The request, and the face's ascent and descent in pixels: a cell height asked for is the
  // cell height given, as GDI's text metrics report it; the baseline turns with the escapement.
  void setLayout(const FontRequest& request, int ascent, int descent);

  FontRequest request_{};
  std::vector<std::unique_ptr<Face>> faces_;  // [0] is the font itself, the rest fallbacks
  std::map<char32_t, Glyph> glyphs_;
  int ascent_ = 0;
  int descent_ = 0;
  double cos_ = 1;
  double sin_ = 0;
};

}  // namespace compat
