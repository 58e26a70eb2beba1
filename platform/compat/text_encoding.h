// The system's texts are code page 932 (Shift-JIS) byte strings; Linux shows UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace compat {

// Converts with iconv. A byte sequence that is not code page 932 becomes U+FFFD and the
// conversion goes on after it.
std::string cp932ToUtf8(std::string_view text);

// The same text as characters, for glyph lookup; U+FFFD where a byte does not convert.
std::u32string cp932ToUtf32(std::string_view text);

}  // namespace compat
