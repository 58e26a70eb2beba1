// Code page 932 through the browser's Shift_JIS decoder (the WHATWG one, which is Windows'
// code page 932), as iconv does it on Linux.
#include <cstdint>
#include <vector>

#include "platform/compat/text_encoding.h"
#include "platform/web/web_page_calls.h"

namespace compat {

std::optional<std::u32string> convertCp932(std::string_view text) {
  // Never more characters than bytes.
  std::vector<std::uint32_t> characters(text.size() + 1);
  const int count = web::decodeShiftJis(text.data(), static_cast<int>(text.size()),
                                        characters.data(), static_cast<int>(characters.size()));
  if (count < 0) return std::nullopt;
  return std::u32string(characters.begin(), characters.begin() + count);
}

}  // namespace compat
