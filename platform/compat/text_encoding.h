// The system's texts are code page 932 (Shift-JIS) byte strings; Linux and the browser show
// UTF-8. The conversions are shared (text_encoding.cpp) but for convertCp932, which comes from
// one file per platform:
//   desktop (platform/desktop/text_encoding_iconv.cpp): the system's iconv;
//   web (platform/web/web_text_encoding.cpp): the browser's Shift_JIS decoder (TextDecoder).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace compat {

// Converts with the platform's converter. A byte sequence that is not code page 932 becomes
// U+FFFD and the conversion goes on after it.
std::string cp932ToUtf8(std::string_view text);

// The same text as characters, for glyph lookup; U+FFFD where a byte does not convert.
std::u32string cp932ToUtf32(std::string_view text);

// What both give where the system has no code page 932 converter: ASCII as it is, and U+FFFD
// for each other character (a double-byte character's two bytes count as one).
std::u32string cp932WithoutConverter(std::string_view text);

// The platform's own converter: characters, with U+FFFD for each byte that does not convert;
// nothing when there is no converter.
std::optional<std::u32string> convertCp932(std::string_view text);

// UTF-8 as characters; U+FFFD for each byte that does not begin a well-formed sequence.
std::u32string utf8ToUtf32(std::string_view text);

// Characters as UTF-8; a surrogate or a value past U+10FFFF becomes U+FFFD.
std::string utf32ToUtf8(std::u32string_view characters);

}  // namespace compat
