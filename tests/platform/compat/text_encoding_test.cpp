// Text conversion: code page 932 through iconv, the fallback where no converter exists, and
// UTF-8 decoding and encoding for the boxes.
#include <gtest/gtest.h>

#include <string>

#include "platform/compat/text_encoding.h"

TEST(TextEncoding, Cp932ConvertsAndReplacesWhatIsNotCp932) {
  const struct {
    const char* name;
    std::string bytes;
    std::u32string characters;
  } cases[] = {
      {"ASCII", "FPS 60", U"FPS 60"},
      {"double-byte hiragana", "\x82\xDB\x82\xB1", U"ぽこ"},
      {"half-width katakana", "\xB1", U"ｱ"},
      {"a lone lead byte at the end", "A\x82", U"A\uFFFD"},
      {"an unassigned byte",
       "A\xFF"
       "B",
       U"A\uFFFDB"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(compat::cp932ToUtf32(c.bytes), c.characters);
    EXPECT_EQ(compat::cp932ToUtf8(c.bytes), compat::utf32ToUtf8(c.characters));
  }
}

TEST(TextEncoding, WithoutAConverterAsciiPassesAndEveryOtherCharacterIsOneReplacement) {
  const struct {
    const char* name;
    std::string bytes;
    std::u32string characters;
  } cases[] = {
      {"ASCII", "texture.bmp", U"texture.bmp"},
      // The trail byte of a double-byte character may look like ASCII ('@' here).
      {"double-byte with an ASCII-looking trail", "\x81@x", U"\uFFFDx"},
      {"two double-byte characters", "\x82\xDB\x82\xB1", U"\uFFFD\uFFFD"},
      {"half-width katakana",
       "\xB1"
       "a",
       U"\uFFFDa"},
      {"a lead byte with nothing after it", "a\x82", U"a\uFFFD"},
      {"empty", "", U""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(compat::cp932WithoutConverter(c.bytes), c.characters);
  }
}

TEST(TextEncoding, Utf8DecodesWellFormedTextAndReplacesEachBadByte) {
  const struct {
    const char* name;
    std::string utf8;
    std::u32string characters;
  } cases[] = {
      {"ASCII and Japanese", "OK ぽこるん", U"OK ぽこるん"},
      {"four bytes", "\xF0\x9F\x98\x80", U"\U0001F600"},
      {"overlong slash", "\xC0\xAF", U"\uFFFD\uFFFD"},
      {"overlong three bytes", "\xE0\x80\xAF", U"\uFFFD\uFFFD\uFFFD"},
      {"surrogate", "\xED\xA0\x80", U"\uFFFD\uFFFD\uFFFD"},
      {"cut short", "a\xE3\x81", U"a\uFFFD\uFFFD"},
      {"past U+10FFFF", "\xF4\x90\x80\x80", U"\uFFFD\uFFFD\uFFFD\uFFFD"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(compat::utf8ToUtf32(c.utf8), c.characters);
  }
  // Encoding what decoding gives is the identity for well-formed text.
  EXPECT_EQ(compat::utf32ToUtf8(compat::utf8ToUtf32("OK ぽこるん \xF0\x9F\x98\x80")),
            "OK ぽこるん \xF0\x9F\x98\x80");
  EXPECT_EQ(compat::utf32ToUtf8(U"\xD800"), "\xEF\xBF\xBD");
}
