// The system's texts are code page 932 bytes that say what their comments say.
#include <gtest/gtest.h>
#include <iconv.h>

#include <string>

#include "host/texts.h"

namespace {

std::string decodeCp932(const char* bytes) {
  iconv_t converter = iconv_open("UTF-8", "CP932");
  EXPECT_NE(converter, reinterpret_cast<iconv_t>(-1));
  std::string in(bytes);
  std::string out(in.size() * 4, '\0');
  char* from = in.data();
  char* to = out.data();
  size_t fromLeft = in.size(), toLeft = out.size();
  EXPECT_NE(iconv(converter, &from, &fromLeft, &to, &toLeft), static_cast<size_t>(-1)) << bytes;
  iconv_close(converter);
  out.resize(out.size() - toLeft);
  return out;
}

}  // namespace

TEST(Texts, DecodeToTheirIntendedText) {
  const struct {
    const char* bytes;
    const char* utf8;
  } cases[] = {
      {texts::errorCaption, "エラーが発生したらしい(^^;"},
      {texts::windowTitle, "ぽこるん"},
      {texts::windowCreationFailed, "ウィンドウを作成出来ません。"},
      {texts::directDrawInitFailed, "DirectDrawを初期化出来ません(;;"},
      {texts::fileNotFoundFormat, "%s ファイルが見つかりません"},
      {texts::fpsFormat, "FPS %d"},
      {texts::windowClassName, "rz"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.utf8);
    EXPECT_EQ(decodeCp932(c.bytes), c.utf8);
  }
}
