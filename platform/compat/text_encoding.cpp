#include "platform/compat/text_encoding.h"

#include <iconv.h>

#include <cerrno>

namespace compat {

namespace {

// Converts with iconv to `target`; `replacement` stands in for each byte that does not convert.
std::string convert(std::string_view text, const char* target, std::string_view replacement) {
  iconv_t converter = iconv_open(target, "CP932");
  if (converter == reinterpret_cast<iconv_t>(-1)) return std::string(text);
  std::string out;
  char buffer[256];
  char* in = const_cast<char*>(text.data());
  size_t inLeft = text.size();
  while (inLeft > 0) {
    char* next = buffer;
    size_t outLeft = sizeof buffer;
    const size_t result = iconv(converter, &in, &inLeft, &next, &outLeft);
    out.append(buffer, static_cast<size_t>(next - buffer));
    if (result == static_cast<size_t>(-1) && errno != E2BIG) {
      out += replacement;
      ++in;
      --inLeft;
    }
  }
  iconv_close(converter);
  return out;
}

}  // namespace

std::string cp932ToUtf8(std::string_view text) { return convert(text, "UTF-8", "\xEF\xBF\xBD"); }

std::u32string cp932ToUtf32(std::string_view text) {
  // Plain ASCII, as the per-frame FPS line is, needs no converter.
  bool ascii = true;
  for (char c : text) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  if (ascii) return std::u32string(text.begin(), text.end());
  const std::string bytes = convert(text, "UTF-32LE", std::string_view("\xFD\xFF\0\0", 4));
  std::u32string characters(bytes.size() / 4, U'\0');
  for (size_t i = 0; i < characters.size(); ++i)
    characters[i] = static_cast<unsigned char>(bytes[4 * i]) |
                    static_cast<unsigned char>(bytes[4 * i + 1]) << 8 |
                    static_cast<unsigned char>(bytes[4 * i + 2]) << 16 |
                    static_cast<char32_t>(static_cast<unsigned char>(bytes[4 * i + 3])) << 24;
  return characters;
}

}  // namespace compat
