// Fonts for GDI text on the web: the browser draws each character (canvas text in the face
// asked for, falling back as the browser does, Japanese included), and its coverage becomes
// ink without anti-aliasing, as on a palette display. The same FontFace as FreeType's on Linux.
#include <algorithm>
#include <cmath>
#include <string>

#include "platform/compat/gdi_fonts.h"
#include "platform/web/web_page_calls.h"

namespace compat {
namespace {

// A face name as a CSS string, with the generic family after it for the browser's fallback.
std::string cssFamily(const std::string& face) {
  std::string quoted = "\"";
  for (char c : face)
    if (c != '"' && c != '\\' && c != ';') quoted += c;
  quoted += "\"";
  return face.empty() ? "sans-serif" : quoted + ", sans-serif";
}

}  // namespace

struct FontFace::Face {
  std::string css;    // the CSS font the browser draws with
  double scaleX = 1;  // the width asked for, against the face's own
};

std::unique_ptr<FontFace> FontFace::open(const FontRequest& request) {
  if (!sensibleFontSize(request)) return nullptr;
  // A positive height is the cell (ascent and descent), a negative one the em: the em of a
  // cell is about 0.85 of it in the common faces.
  const int cell = request.height > 0    ? request.height
                   : request.height == 0 ? defaultCellHeight
                                         : 0;
  const double em = cell > 0 ? cell * 0.85 : -request.height;
  auto face = std::make_unique<Face>();
  face->css = std::string(request.italic ? "italic " : "") + std::to_string(request.weight) + " " +
              std::to_string(std::max(1.0, em)) + "px " + cssFamily(request.faceUtf8);
  int metrics[3] = {0, 0, 0};
  web::fontMetrics(face->css.c_str(), metrics);
  // An average character is about half an em wide, as GDI's widths are meant.
  if (request.width > 0 && em > 0) face->scaleX = 2.0 * request.width / em;
  std::unique_ptr<FontFace> font(new FontFace());
  font->setLayout(request, metrics[0], metrics[1]);
  font->faces_.push_back(std::move(face));
  return font;
}

FontFace::~FontFace() = default;

FontFace::Face* FontFace::faceFor(char32_t) { return faces_.front().get(); }

const Glyph& FontFace::glyph(char32_t character) {
  auto found = glyphs_.find(character);
  if (found != glyphs_.end()) return found->second;
  const Face& face = *faceFor(character);
  const double angle = escapementRadians(request_);
  int box[5] = {0, 0, 0, 0, 0};
  Glyph glyph;
  const int bytes = web::drawGlyph(face.css.c_str(), face.scaleX, character, angle, box);
  glyph.ink.resize(static_cast<std::size_t>(bytes));
  web::takeGlyphInk(glyph.ink.data());
  glyph.left = box[0];
  glyph.top = box[1];
  glyph.width = box[2];
  glyph.rows = box[3];
  glyph.advance = box[4] / 64.0;
  return glyphs_.emplace(character, std::move(glyph)).first->second;
}

}  // namespace compat
