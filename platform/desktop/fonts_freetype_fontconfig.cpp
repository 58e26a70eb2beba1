// Fonts for GDI text on the desktop: fontconfig finds a face by name, weight, slant and
// character set, and again for each character the face lacks; FreeType rasterises the glyphs in
// one bit a pixel, scaled, slanted and turned by one transform.
#include "platform/compat/gdi_fonts.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <cmath>
#include <optional>

namespace compat {
namespace {

FT_Library freetype() {
  static FT_Library library = [] {
    FT_Library made = nullptr;
    if (FT_Init_FreeType(&made) != 0) return static_cast<FT_Library>(nullptr);
    return made;
  }();
  return library;
}

struct FontFile {
  std::string path;
  int index = 0;
};

// Asks fontconfig for the best file for the request, optionally one that has `character`.
std::optional<FontFile> findFontFile(const FontRequest& request, char32_t character) {
  if (!FcInit()) return std::nullopt;
  FcPattern* pattern = FcPatternCreate();
  const std::string family = request.faceUtf8.empty() ? "sans-serif" : request.faceUtf8;
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcPatternAddInteger(pattern, FC_WEIGHT,
                      request.weight >= 600 ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, request.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  // Shift-JIS text, or a character from beyond Latin, wants a face that has Japanese.
  if (request.charSet == 128 || character > 0x2000)
    FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>("ja"));
  if (character != 0) {
    FcCharSet* set = FcCharSetCreate();
    FcCharSetAddChar(set, character);
    FcPatternAddCharSet(pattern, FC_CHARSET, set);
    FcCharSetDestroy(set);
  }
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  if (match == nullptr) return std::nullopt;
  FcChar8* file = nullptr;
  int index = 0;
  std::optional<FontFile> found;
  if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
    FcPatternGetInteger(match, FC_INDEX, 0, &index);
    found = FontFile{reinterpret_cast<const char*>(file), index};
  }
  FcPatternDestroy(match);
  return found;
}

}  // namespace

// One FreeType face at the font's size, turned and slanted as the font asks.
struct FontFace::Face {
  FT_Face face = nullptr;
  bool syntheticBold = false;
  double widthScale = 1;

  ~Face() {
    if (face != nullptr) FT_Done_Face(face);
  }

  bool load(const FontFile& file, const FontRequest& request) {
    if (freetype() == nullptr) return false;
    if (FT_New_Face(freetype(), file.path.c_str(), file.index, &face) != 0) return false;
    FT_Size_RequestRec size{};
    // A positive height is the cell (ascender to descender), a negative one the em.
    size.type = request.height < 0 ? FT_SIZE_REQUEST_TYPE_NOMINAL : FT_SIZE_REQUEST_TYPE_REAL_DIM;
    size.height =
        static_cast<FT_Long>(request.height == 0 ? defaultCellHeight : std::abs(request.height)) *
        64;
    if (FT_Request_Size(face, &size) != 0) return false;
    const double em = face->size->metrics.y_ppem;
    // An average character is about half an em wide.
    if (request.width > 0 && em > 0) widthScale = 2.0 * request.width / em;
    syntheticBold = request.weight >= 600 && !(face->style_flags & FT_STYLE_FLAG_BOLD);
    const bool syntheticItalic = request.italic && !(face->style_flags & FT_STYLE_FLAG_ITALIC);
    const double angle = escapementRadians(request);
    const double shear = syntheticItalic ? 0.2 : 0.0;
    // Turn after slanting and scaling: rotation x shear x scale, in 16.16.
    const double c = std::cos(angle), s = std::sin(angle);
    FT_Matrix matrix;
    matrix.xx = static_cast<FT_Fixed>(c * widthScale * 65536);
    matrix.xy = static_cast<FT_Fixed>((c * shear - s) * 65536);
    matrix.yx = static_cast<FT_Fixed>(s * widthScale * 65536);
    matrix.yy = static_cast<FT_Fixed>((s * shear + c) * 65536);
    FT_Set_Transform(face, &matrix, nullptr);
    return true;
  }

  bool has(char32_t character) const { return FT_Get_Char_Index(face, character) != 0; }

  Glyph render(char32_t character) const {
    Glyph glyph;
    const FT_UInt index = FT_Get_Char_Index(face, character);
    if (FT_Load_Glyph(face, index, FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_MONO) != 0) return glyph;
    FT_GlyphSlot slot = face->glyph;
    const double strength = syntheticBold ? face->size->metrics.y_ppem / 24.0 : 0.0;
    if (syntheticBold && slot->format == FT_GLYPH_FORMAT_OUTLINE)
      FT_Outline_Embolden(&slot->outline, static_cast<FT_Pos>(strength * 64));
    glyph.advance = slot->linearHoriAdvance / 65536.0 * widthScale + strength;
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) != 0) return glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    glyph.left = slot->bitmap_left;
    glyph.top = -slot->bitmap_top;
    glyph.width = static_cast<int>(bitmap.width);
    glyph.rows = static_cast<int>(bitmap.rows);
    glyph.ink.resize(static_cast<size_t>(glyph.width) * glyph.rows);
    for (int y = 0; y < glyph.rows; ++y) {
      const unsigned char* row = bitmap.buffer + static_cast<ptrdiff_t>(y) * bitmap.pitch;
      for (int x = 0; x < glyph.width; ++x)
        glyph.ink[static_cast<size_t>(y) * glyph.width + x] = (row[x >> 3] >> (7 - (x & 7))) & 1;
    }
    return glyph;
  }
};

std::unique_ptr<FontFace> FontFace::open(const FontRequest& request) {
  if (!sensibleFontSize(request)) return nullptr;
  const std::optional<FontFile> file = findFontFile(request, 0);
  if (!file) return nullptr;
  auto face = std::make_unique<Face>();
  if (!face->load(*file, request)) return nullptr;
  std::unique_ptr<FontFace> font(new FontFace());
  const FT_Size_Metrics& metrics = face->face->size->metrics;
  font->setLayout(request, static_cast<int>((metrics.ascender + 32) >> 6),
                  static_cast<int>((-metrics.descender + 32) >> 6));
  font->faces_.push_back(std::move(face));
  return font;
}

FontFace::~FontFace() = default;

FontFace::Face* FontFace::faceFor(char32_t character) {
  for (const auto& face : faces_)
    if (face->has(character)) return face.get();
  // A face that has it, at the same size and style, kept for the next characters too.
  if (const std::optional<FontFile> file = findFontFile(request_, character)) {
    auto fallback = std::make_unique<Face>();
    if (fallback->load(*file, request_) && fallback->has(character)) {
      faces_.push_back(std::move(fallback));
      return faces_.back().get();
    }
  }
  return faces_.front().get();  // its missing-character box
}

const Glyph& FontFace::glyph(char32_t character) {
  auto found = glyphs_.find(character);
  if (found != glyphs_.end()) return found->second;
  return glyphs_.emplace(character, faceFor(character)->render(character)).first->second;
}

}  // namespace compat
