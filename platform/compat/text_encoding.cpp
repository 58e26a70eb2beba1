#include "platform/compat/text_encoding.h"

#include <optional>

namespace compat {
namespace {

constexpr char32_t replacement = U'\uFFFD';

bool isLeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

}  // namespace

std::u32string cp932WithoutConverter(std::string_view text) {
  std::u32string out;
  for (size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte < 0x80) {
      out.push_back(byte);
      continue;
    }
    if (isLeadByte(byte) && i + 1 < text.size()) ++i;  // the trail byte is part of it
    out.push_back(replacement);
  }
  return out;
}

std::u32string cp932ToUtf32(std::string_view text) {
  // Plain ASCII, as the per-frame FPS line is, needs no converter.
  bool ascii = true;
  for (char c : text) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  if (ascii) return std::u32string(text.begin(), text.end());
  std::optional<std::u32string> converted = convertCp932(text);
  return converted ? std::move(*converted) : cp932WithoutConverter(text);
}

std::string cp932ToUtf8(std::string_view text) { return utf32ToUtf8(cp932ToUtf32(text)); }

std::u32string utf8ToUtf32(std::string_view text) {
  std::u32string out;
  size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const int length = lead < 0x80                    ? 1
                       : lead >= 0xC2 && lead <= 0xDF ? 2
                       : lead >= 0xE0 && lead <= 0xEF ? 3
                       : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                      : 0;
    char32_t c = length == 1   ? lead
                 : length == 2 ? lead & 0x1F
                 : length == 3 ? lead & 0x0F
                               : lead & 0x07;
    bool wellFormed = length > 0 && i + length <= text.size();
    for (int k = 1; wellFormed && k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      wellFormed = (next & 0xC0) == 0x80;
      c = c << 6 | (next & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not characters.
    wellFormed = wellFormed && !(length == 3 && c < 0x800) && !(length == 4 && c < 0x10000) &&
                 !(c >= 0xD800 && c <= 0xDFFF) && c <= 0x10FFFF;
    out.push_back(wellFormed ? c : replacement);
    i += wellFormed ? length : 1;
  }
  return out;
}

std::string utf32ToUtf8(std::u32string_view characters) {
  std::string out;
  for (char32_t c : characters) {
    if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) c = replacement;
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | c >> 6);
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | c >> 12);
      out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | c >> 18);
      out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
      out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

}  // namespace compat
