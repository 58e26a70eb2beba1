// The presenter's life: the palette and the picture changing apart, pictures changing size,
// refused input, the notice over the picture, and a context that cannot run the shaders.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <tuple>
#include <utility>

#include "platform/screen_core/notice_font.h"
#include "tests/platform/gles/gles_look_fixture.h"

namespace gles_test {
namespace {

class Presenter : public LookTest {
 protected:
  // The notice's box at the bottom-left of the drawn integer look: 2 ink pixels of margin
  // around the text, 4 from the corner, all at the factor; white ink, the picture's colour
  // darkened round it, the picture as it is outside.
  void expectNoticeShown(const Rgba& shown, const compat::NoticeImage& notice, int factor) {
    const int left = 4 * factor, bottom = height_ - 4 * factor;
    const int top = bottom - (notice.height + 4) * factor;
    const int right = left + (notice.width + 4) * factor;
    int ink = 0, wrong = 0;
    for (int y = 0; y < notice.height; ++y)
      for (int x = 0; x < notice.width; ++x) {
        const std::uint8_t* p =
            shown.at(left + (x + 2) * factor + factor / 2, top + (y + 2) * factor + factor / 2);
        if (notice.alpha[y * notice.width + x] != 0) {
          ++ink;
          wrong += (p[0] & p[1] & p[2]) != 255;
        } else {
          // A third of the picture's colour shows through the box.
          wrong += std::abs(p[0] - 200 * 0.35) > 2 || std::abs(p[1] - 100 * 0.35) > 2 ||
                   std::abs(p[2] - 60 * 0.35) > 2;
        }
      }
    EXPECT_GT(ink, 10);
    EXPECT_EQ(wrong, 0) << keepForInspection("presenter-notice", shown);
    for (const auto& [x, y] : {std::pair{left - 1, top + 4}, std::pair{right, top + 4},
                               std::pair{left + 4, top - 1}, std::pair{left + 4, bottom}})
      EXPECT_EQ(std::memcmp(shown.at(x, y), &palette_[9], 3), 0) << x << "," << y;
  }

  const compat::Palette palette_ = [] {
    compat::Palette colours{};
    colours[9] = {200, 100, 60, 0};
    return colours;
  }();

  // The integer look at factor 4 of the picture must be exactly the picture's colours.
  void expectPictureShown(const Picture& picture, const compat::Palette& palette) {
    const Rgba shown = drawn(compat::Look::integer);
    const Rgba texels = colours(picture, palette);
    const compat::ScreenRect rect =
        compat::integerRectangle(picture.width, picture.height, width_, height_);
    const int factor = rect.width / picture.width;
    int wrong = 0;
    for (int y = 0; y < rect.height; ++y)
      for (int x = 0; x < rect.width; ++x)
        if (std::memcmp(shown.at(rect.x + x, rect.y + y), texels.at(x / factor, y / factor), 3))
          ++wrong;
    EXPECT_EQ(wrong, 0) << keepForInspection("presenter-shown", shown);
  }
};

TEST_F(Presenter, DrawsBlackUntilThereIsAPicture) {
  drawOn(64, 48);
  const Rgba shown = drawn(compat::Look::sharp);
  for (std::size_t i = 0; i < shown.bytes.size(); i += 4)
    ASSERT_EQ(shown.bytes[i] | shown.bytes[i + 1] | shown.bytes[i + 2], 0) << "at byte " << i;
}

TEST_F(Presenter, APaletteChangeAloneChangesTheColours) {
  drawOn(1280, 960);
  const Picture picture = patternPicture(320, 240, 320);
  show(picture, distinctPalette(1));
  expectPictureShown(picture, distinctPalette(1));
  // No new picture: the colour target must be made again from the palette.
  presenter_.setPalette(distinctPalette(2));
  expectPictureShown(picture, distinctPalette(2));
  // And a look that has not drawn since shows the new colours too.
  const Rgba sharp = drawn(compat::Look::sharp);
  EXPECT_EQ(std::memcmp(sharp.at(2, 2), &distinctPalette(2)[picture.index(0, 0)], 3), 0);
}

TEST_F(Presenter, PicturesOfOtherSizesReplaceTheLast) {
  drawOn(1280, 960);
  const compat::Palette palette = distinctPalette(3);
  const Picture pictures[] = {patternPicture(320, 240, 320), patternPicture(640, 480, 644),
                              patternPicture(16, 16, 16), patternPicture(320, 240, 336)};
  for (const Picture& picture : pictures) {
    SCOPED_TRACE(testing::Message() << picture.width << "x" << picture.height);
    show(picture, palette);
    expectPictureShown(picture, palette);
  }
}

TEST_F(Presenter, RefusesBadPicturesAndKeepsTheLastOne) {
  drawOn(640, 480);
  const compat::Palette palette = distinctPalette(4);
  const Picture picture = patternPicture(320, 240, 320);
  show(picture, palette);
  const std::uint8_t pixel = 0;
  struct Bad {
    const char* what;
    const std::uint8_t* pixels;
    int width, height, pitch;
  };
  const int huge = std::numeric_limits<int>::max();
  const Bad cases[] = {{"no pixels", nullptr, 320, 240, 320},
                       {"no width", &pixel, 0, 1, 1},
                       {"negative height", &pixel, 1, -1, 1},
                       {"pitch below width", &pixel, 2, 1, 1},
                       {"wider than the GPU", &pixel, huge, 1, huge}};
  for (const Bad& bad : cases) {
    SCOPED_TRACE(bad.what);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(presenter_.setPicture(bad.pixels, bad.width, bad.height, bad.pitch));
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("gles: picture refused"), std::string::npos) << said;
    expectPictureShown(picture, palette);
  }
}

TEST_F(Presenter, TheNoticeIsWhiteInkOnDarkenedPictureAtTheBottomLeft) {
  // The notice's factor grows with the drawable's height, and is 1 under 480 lines. The
  // picture at twice its size fills each drawable.
  for (const auto& [width, height, factor] : {std::tuple{1280, 960, 2}, std::tuple{640, 400, 1},
                                              std::tuple{320, 200, 1}, std::tuple{1920, 1440, 3}}) {
    SCOPED_TRACE(testing::Message() << "on " << width << " x " << height);
    drawOn(width, height);
    show(flatPicture(width / 2, height / 2, 9), palette_);
    const compat::NoticeImage notice = compat::renderNotice("Ab");
    ASSERT_TRUE(presenter_.setNotice(notice.alpha.data(), notice.width, notice.height));
    expectNoticeShown(drawn(compat::Look::integer), notice, factor);
    presenter_.clearNotice();
  }
  const Rgba cleared = drawn(compat::Look::integer);
  EXPECT_EQ(std::memcmp(cleared.at(10, height_ - 10), &palette_[9], 3), 0);
  EXPECT_FALSE(presenter_.setNotice(nullptr, 4, 4));
  EXPECT_FALSE(presenter_.setNotice(compat::renderNotice("Ab").alpha.data(), 0, 8));
}

TEST_F(Presenter, ANoticeReplacedWhileShownShowsTheNewOneWhole) {
  // Alt+L twice within the notice's time: the look's names are of one height and other widths.
  drawOn(1280, 960);
  show(flatPicture(320, 240, 9), palette_);
  const compat::NoticeImage first = compat::renderNotice("sharp");
  ASSERT_TRUE(presenter_.setNotice(first.alpha.data(), first.width, first.height));
  expectNoticeShown(drawn(compat::Look::integer), first, 2);
  for (const char* text : {"crt", "integer", "integer", "Ab\nREC", "sharp"}) {
    SCOPED_TRACE(text);
    const compat::NoticeImage next = compat::renderNotice(text);
    ASSERT_TRUE(presenter_.setNotice(next.alpha.data(), next.width, next.height));
    expectNoticeShown(drawn(compat::Look::integer), next, 2);
  }
}

TEST_F(Presenter, DrawablesOfAbsurdSizesDoNotUpsetTheNextDraw) {
  // The sizes come from the window system, a rectangle to draw at from the screen; whatever
  // they are, the box around the widest notice and the picture's place are worked out without
  // overflow, and the next ordinary draw shows the picture as before.
  drawOn(640, 480);
  const compat::Palette palette = distinctPalette(6);
  const Picture picture = patternPicture(320, 240, 320);
  show(picture, palette);
  const compat::NoticeImage notice =
      compat::renderNotice(std::string(compat::noticeMaxColumns, 'W'));
  ASSERT_TRUE(presenter_.setNotice(notice.alpha.data(), notice.width, notice.height));
  const int huge = std::numeric_limits<int>::max();
  const struct {
    int width, height;
  } sizes[] = {{huge, huge}, {1, huge}, {huge, 1}, {1, 1}, {huge / 2 + 1, huge / 2 + 1}};
  for (const compat::Look look : {compat::Look::integer, compat::Look::sharp, compat::Look::crt})
    for (const auto& size : sizes) {
      SCOPED_TRACE(testing::Message()
                   << size.width << " x " << size.height << ", look " << compat::lookName(look));
      presenter_.draw(size.width, size.height, look);
    }
  const int low = std::numeric_limits<int>::min();
  for (const compat::ScreenRect& where :
       {compat::ScreenRect{0, low, 320, huge}, compat::ScreenRect{low, huge, huge, huge},
        compat::ScreenRect{huge, huge, 1, 1}}) {
    SCOPED_TRACE(testing::Message() << "at " << where.x << ", " << where.y << ", " << where.width
                                    << " x " << where.height);
    presenter_.drawAt(640, 480, where);
    presenter_.drawAt(huge, huge, where);
  }
  presenter_.clearNotice();
  expectPictureShown(picture, palette);
}

// Stands in for glCompileShader: compiles nothing, so every shader reports failure.
void GL_APIENTRY compileNothing(GLuint) {}

TEST_F(Presenter, AContextThatCannotCompileTheShadersIsRefusedWithOneLine) {
  drawOn(64, 48);
  presenter_.stop();
  gles::GlesFunctions functions = context_.functions();
  functions.CompileShader = compileNothing;
  testing::internal::CaptureStderr();
  EXPECT_FALSE(presenter_.start(functions));
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_FALSE(presenter_.started());
  EXPECT_EQ(said.rfind("gles: the palette vertex shader does not compile: ", 0), 0u) << said;
  EXPECT_EQ(said.find('\n'), said.size() - 1) << said;
  // Nothing is drawn, and the real functions start it again.
  const Picture picture = patternPicture(32, 24, 32);
  EXPECT_FALSE(presenter_.setPicture(picture.pixels.data(), 32, 24, 32));
  ASSERT_TRUE(presenter_.start(context_.functions()));
  show(picture, distinctPalette(5));
  expectPictureShown(picture, distinctPalette(5));
}

TEST_F(Presenter, AnIncompleteFunctionTableIsRefusedWithOneLine) {
  drawOn(64, 48);
  presenter_.stop();
  gles::GlesFunctions functions = context_.functions();
  functions.BindSampler = nullptr;
  testing::internal::CaptureStderr();
  EXPECT_FALSE(presenter_.start(functions));
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "gles: the GL function table lacks glBindSampler\n");
  EXPECT_FALSE(presenter_.started());
  presenter_.draw(64, 48, compat::Look::sharp);  // draws nothing, calls nothing
}

// Errors that calls before the start left on the context (the caller's own, or a lost WebGL
// context's, which Emscripten records for queries left unanswered) are not the start's: it
// goes ahead and the picture is shown.
TEST_F(Presenter, ErrorsLeftOnTheContextBeforeTheStartAreNotItsOwn) {
  drawOn(64, 48);
  presenter_.stop();
  const gles::GlesFunctions& gl = context_.functions();
  gl.BindTexture(GL_RGBA, 0);  // not a texture target: GL_INVALID_ENUM
  gl.ActiveTexture(0);         // not a texture unit: GL_INVALID_ENUM
  testing::internal::CaptureStderr();
  EXPECT_TRUE(presenter_.start(gl));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  const Picture picture = patternPicture(16, 12, 16);
  show(picture, distinctPalette(6));
  expectPictureShown(picture, distinctPalette(6));
}

TEST(GlesFunctionsTable, NamesTheFirstEntryPointTheLookupLacks) {
  gles::GlesFunctions functions;
  std::string missing;
  const auto onlyDrawArrays = [](const char* name) -> void* {
    static int anything;
    return std::strcmp(name, "glDrawArrays") == 0 ? &anything : nullptr;
  };
  EXPECT_FALSE(gles::loadGlesFunctions(onlyDrawArrays, functions, missing));
  EXPECT_EQ(missing, "glActiveTexture");
  EXPECT_FALSE(gles::loadGlesFunctions(nullptr, functions, missing));
  const auto allButViewport = [](const char* name) -> void* {
    static int anything;
    return std::strcmp(name, "glViewport") == 0 ? nullptr : &anything;
  };
  EXPECT_FALSE(gles::loadGlesFunctions(allButViewport, functions, missing));
  EXPECT_EQ(missing, "glViewport");
  EXPECT_STREQ(gles::missingGlesFunction(functions), "glViewport");
  EXPECT_STREQ(gles::missingGlesFunction(gles::GlesFunctions{}), "glActiveTexture");
}

}  // namespace
}  // namespace gles_test
