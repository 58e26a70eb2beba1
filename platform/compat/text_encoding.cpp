#include "platform/compat/text_encoding.h"

#include <iconv.h>

#include <cerrno>

namespace compat {

std::string cp932ToUtf8(std::string_view text) {
  iconv_t converter = iconv_open("UTF-8", "CP932");
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
      out += "\xEF\xBF\xBD";  // U+FFFD for the byte that does not convert
      ++in;
      --inLeft;
    }
  }
  iconv_close(converter);
  return out;
}

}  // namespace compat
