// Code page 932 on the desktop, through the system's iconv (glibc knows CP932).
#include <iconv.h>

#include <cerrno>

#include "platform/compat/text_encoding.h"

namespace compat {

// Converts with iconv to UTF-32 (little-endian, as the words are read back); U+FFFD stands in
// for each byte that does not convert. Nothing when the system has no converter.
std::optional<std::u32string> convertCp932(std::string_view text) {
  iconv_t converter = iconv_open("UTF-32LE", "CP932");
  if (converter == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::u32string out;
  unsigned char buffer[256];
  char* in = const_cast<char*>(text.data());
  size_t inLeft = text.size();
  while (inLeft > 0) {
    char* next = reinterpret_cast<char*>(buffer);
    size_t outLeft = sizeof buffer;
    const size_t result = iconv(converter, &in, &inLeft, &next, &outLeft);
    const size_t produced = static_cast<size_t>(next - reinterpret_cast<char*>(buffer));
    for (size_t i = 0; i + 3 < produced; i += 4)
      out.push_back(buffer[i] | buffer[i + 1] << 8 | buffer[i + 2] << 16 |
                    static_cast<char32_t>(buffer[i + 3]) << 24);
    if (result == static_cast<size_t>(-1) && errno != E2BIG) {
      out.push_back(U'\uFFFD');
      ++in;
      --inLeft;
    }
  }
  iconv_close(converter);
  return out;
}

}  // namespace compat
