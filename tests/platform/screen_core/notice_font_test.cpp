// The notice font: every printable character its own glyph inside its cell, text laid out a
// cell a character and a line a row of cells, and anything else shown as '?' without ever
// growing the image past its limits.
#include "platform/screen_core/notice_font.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

// The glyph as it comes out of renderNotice, row by row.
std::vector<std::uint8_t> rendered(char character) {
  const compat::NoticeImage image = compat::renderNotice(std::string(1, character));
  return image.alpha;
}

TEST(NoticeFont, EveryPrintableCharacterHasItsOwnGlyphInsideItsCell) {
  std::set<std::vector<std::uint8_t>> seen;
  for (char c = ' '; c <= '~'; ++c) {
    SCOPED_TRACE(testing::Message() << "'" << c << "'");
    const compat::NoticeImage image = compat::renderNotice(std::string(1, c));
    ASSERT_EQ(image.width, compat::noticeGlyphWidth);
    ASSERT_EQ(image.height, compat::noticeGlyphHeight);
    int ink = 0;
    for (int y = 0; y < image.height; ++y)
      for (int x = 0; x < image.width; ++x) {
        const std::uint8_t a = image.alpha[y * image.width + x];
        ASSERT_TRUE(a == 0 || a == 255);
        ink += a != 0;
        // The sixth column stays empty: the space between characters.
        if (x == compat::noticeGlyphWidth - 1) {
          ASSERT_EQ(a, 0);
        }
        // Only descenders and the underscore reach the eighth row.
        if (y == compat::noticeGlyphHeight - 1 && a != 0) {
          ASSERT_NE(std::string("gjpqy_,").find(c), std::string::npos);
        }
      }
    if (c == ' ')
      EXPECT_EQ(ink, 0);
    else
      EXPECT_GT(ink, 1);
    EXPECT_TRUE(seen.insert(image.alpha).second) << "the same glyph as another character";
  }
}

TEST(NoticeFont, TextIsLaidOutACellACharacterAndARowOfCellsALine) {
  const compat::NoticeImage image = compat::renderNotice("Look: sharp\nsaved to a.png");
  EXPECT_EQ(image.width, 14 * compat::noticeGlyphWidth);  // the longer line
  EXPECT_EQ(image.height, 2 * compat::noticeGlyphHeight);
  ASSERT_EQ(image.alpha.size(), static_cast<std::size_t>(image.width) * image.height);
  // Second line, third character ('v') is its glyph, at its cell.
  const std::vector<std::uint8_t> v = rendered('v');
  for (int y = 0; y < compat::noticeGlyphHeight; ++y)
    for (int x = 0; x < compat::noticeGlyphWidth; ++x)
      ASSERT_EQ(image.alpha[(compat::noticeGlyphHeight + y) * image.width +
                            2 * compat::noticeGlyphWidth + x],
                v[y * compat::noticeGlyphWidth + x])
          << x << "," << y;
  // The short first line leaves the rest of its row empty.
  for (int y = 0; y < compat::noticeGlyphHeight; ++y)
    for (int x = 11 * compat::noticeGlyphWidth; x < image.width; ++x)
      ASSERT_EQ(image.alpha[y * image.width + x], 0);
}

TEST(NoticeFont, AnythingElseIsAQuestionMarkForEachCharacter) {
  struct Case {
    std::string text;
    std::string shownAs;
  };
  const Case cases[] = {
      {"caf\xC3\xA9", "caf?"},             // one two-byte UTF-8 character
      {"\xE6\x97\xA5\xE6\x9C\xAC", "??"},  // two three-byte ones
      {"a\tb\x7F", "a?b?"},                // controls
      {"\xFF", "?"},                       // not UTF-8 at all
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.shownAs);
    EXPECT_EQ(compat::renderNotice(c.text).alpha, compat::renderNotice(c.shownAs).alpha);
  }
}

TEST(NoticeFont, EmptyTextGivesAnEmptyImageAndLongTextIsCut) {
  const compat::NoticeImage empty = compat::renderNotice("");
  EXPECT_EQ(empty.width, 0);
  EXPECT_EQ(empty.height, 0);
  EXPECT_TRUE(empty.alpha.empty());

  const compat::NoticeImage wide = compat::renderNotice(std::string(100000, 'x'));
  EXPECT_EQ(wide.width, compat::noticeMaxColumns * compat::noticeGlyphWidth);
  EXPECT_EQ(wide.height, compat::noticeGlyphHeight);

  std::string manyLines;
  for (int i = 0; i < 1000; ++i) manyLines += "line\n";
  const compat::NoticeImage tall = compat::renderNotice(manyLines);
  EXPECT_EQ(tall.height, compat::noticeMaxLines * compat::noticeGlyphHeight);
  EXPECT_EQ(tall.alpha.size(), static_cast<std::size_t>(tall.width) * tall.height);
}

}  // namespace
