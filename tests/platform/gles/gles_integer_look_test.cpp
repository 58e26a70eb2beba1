// The integer look puts the same pixels on the screen as the SDL renderer path it replaces:
// SDL_RenderSetLogicalSize with integer scaling where the drawable holds the picture, nearest
// sampling. SDL's own software renderer, drawing the same picture, is the reference.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "platform/screen_core/looks.h"
#include "tests/platform/gles/gles_look_fixture.h"

namespace gles_test {
namespace {

struct Size {
  int width;
  int height;
};

// The picture as the SDL screen shows it today: logical size, integer scaling where the
// drawable holds the picture, nearest sampling, black bars; drawn by SDL's software renderer.
Rgba sdlRendererPicture(const Rgba& picture, Size drawable) {
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
  SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, drawable.width, drawable.height, 32,
                                                        SDL_PIXELFORMAT_ABGR8888);
  SDL_Renderer* renderer = SDL_CreateSoftwareRenderer(surface);
  SDL_Texture* texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ABGR8888,
                                           SDL_TEXTUREACCESS_STATIC, picture.width, picture.height);
  SDL_UpdateTexture(texture, nullptr, picture.bytes.data(), picture.width * 4);
  SDL_RenderSetLogicalSize(renderer, picture.width, picture.height);
  const bool holds = drawable.width >= picture.width && drawable.height >= picture.height;
  SDL_RenderSetIntegerScale(renderer, holds ? SDL_TRUE : SDL_FALSE);
  SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
  SDL_RenderClear(renderer);
  SDL_RenderCopy(renderer, texture, nullptr, nullptr);
  SDL_RenderPresent(renderer);
  Rgba out{drawable.width, drawable.height,
           std::vector<std::uint8_t>(4u * drawable.width * drawable.height)};
  for (int y = 0; y < drawable.height; ++y)
    std::memcpy(out.bytes.data() + 4u * drawable.width * y,
                static_cast<std::uint8_t*>(surface->pixels) + y * surface->pitch,
                4u * drawable.width);
  SDL_DestroyTexture(texture);
  SDL_DestroyRenderer(renderer);
  SDL_FreeSurface(surface);
  return out;
}

// The box that holds every pixel that is not black.
compat::ScreenRect litBox(const Rgba& picture) {
  int left = picture.width, top = picture.height, right = -1, bottom = -1;
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x) {
      const std::uint8_t* p = picture.at(x, y);
      if (p[0] == 0 && p[1] == 0 && p[2] == 0) continue;
      left = std::min(left, x), right = std::max(right, x);
      top = std::min(top, y), bottom = std::max(bottom, y);
    }
  return {left, top, right - left + 1, bottom - top + 1};
}

int differingPixels(const Rgba& a, const Rgba& b) {
  int count = 0;
  for (std::size_t i = 0; i < a.bytes.size(); i += 4)
    if (a.bytes[i] != b.bytes[i] || a.bytes[i + 1] != b.bytes[i + 1] ||
        a.bytes[i + 2] != b.bytes[i + 2])
      ++count;
  return count;
}

class IntegerLook : public LookTest {};

TEST_F(IntegerLook, SameScreenPixelsAsTheSdlRenderer) {
  // Whole factors with even and odd remainders both ways, exact fits, and a 640 x 480 picture;
  // the picture's rows lie wider apart than its width, as a surface's do.
  struct Case {
    Size picture;
    int pitch;
    Size drawable;
  };
  const Case cases[] = {
      {{320, 240}, 320, {1280, 960}},  {{320, 240}, 320, {1920, 1080}},
      {{320, 240}, 352, {1366, 768}},  {{320, 240}, 320, {800, 600}},
      {{320, 240}, 320, {641, 481}},   {{320, 240}, 324, {1001, 701}},
      {{320, 240}, 320, {960, 719}},   {{320, 240}, 320, {320, 240}},
      {{640, 480}, 640, {1920, 1080}}, {{333, 201}, 336, {1000, 700}},
  };
  const compat::Palette palette = distinctPalette(1);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.picture.width << "x" << c.picture.height << " on "
                                    << c.drawable.width << "x" << c.drawable.height);
    drawOn(c.drawable.width, c.drawable.height);
    const Picture picture = patternPicture(c.picture.width, c.picture.height, c.pitch);
    show(picture, palette);
    const Rgba ours = drawn(compat::Look::integer);
    const Rgba theirs = sdlRendererPicture(colours(picture, palette), c.drawable);
    const int differing = differingPixels(ours, theirs);
    EXPECT_EQ(differing, 0) << "ours: " << keepForInspection("integer-ours", ours)
                            << ", SDL's: " << keepForInspection("integer-sdl", theirs);
  }
}

TEST_F(IntegerLook, SmallerDrawablesShowTheWholePictureWithItsShape) {
  // Where the drawable cannot hold the picture once, SDL scales it down to fit; its two
  // renderers disagree with each other about pixel centres that fall exactly on a texel
  // boundary, so there either texel is right. Everywhere else: the texel under the centre.
  const Size drawables[] = {{300, 200}, {319, 239}, {200, 300}, {330, 200}, {100, 77}};
  const compat::Palette palette = distinctPalette(2);
  const Picture picture = patternPicture(320, 240, 320);
  const Rgba texels = colours(picture, palette);
  for (const Size drawable : drawables) {
    SCOPED_TRACE(testing::Message() << drawable.width << "x" << drawable.height);
    drawOn(drawable.width, drawable.height);
    show(picture, palette);
    const Rgba ours = drawn(compat::Look::integer);
    const compat::ScreenRect rect = litBox(ours);
    const compat::ScreenRect sdlRect = litBox(sdlRendererPicture(texels, drawable));
    EXPECT_EQ(rect.x, sdlRect.x);
    EXPECT_EQ(rect.y, sdlRect.y);
    EXPECT_EQ(rect.width, sdlRect.width);
    EXPECT_EQ(rect.height, sdlRect.height);
    int wrong = 0;
    for (int y = 0; y < rect.height; ++y)
      for (int x = 0; x < rect.width; ++x) {
        const double u = (x + 0.5) * 320 / rect.width, v = (y + 0.5) * 240 / rect.height;
        const int tx = static_cast<int>(u), ty = static_cast<int>(v);
        const bool tieX = u == std::floor(u) && tx > 0, tieY = v == std::floor(v) && ty > 0;
        bool found = false;
        for (int dy = 0; dy <= (tieY ? 1 : 0); ++dy)
          for (int dx = 0; dx <= (tieX ? 1 : 0); ++dx)
            found = found || std::memcmp(ours.at(rect.x + x, rect.y + y),
                                         texels.at(tx - dx, ty - dy), 3) == 0;
        if (!found) ++wrong;
      }
    EXPECT_EQ(wrong, 0) << keepForInspection("integer-small", ours);
  }
}

TEST(IntegerRectangle, IsWhereTheSdlRendererPutsThePicture) {
  // A sweep of drawable sizes around and above the picture's, against SDL's own arithmetic.
  const Picture picture = flatPicture(320, 240, 1);
  compat::Palette palette{};
  palette[1] = {255, 255, 255, 0};
  const Rgba white = colours(picture, palette);
  int checked = 0;
  for (int height = 97; height < 1100; height += 61)
    for (int width = 101; width < 1400; width += 89) {
      SCOPED_TRACE(testing::Message() << width << "x" << height);
      const compat::ScreenRect theirs = litBox(sdlRendererPicture(white, {width, height}));
      const compat::ScreenRect ours = compat::integerRectangle(320, 240, width, height);
      ASSERT_EQ(ours.x, theirs.x);
      ASSERT_EQ(ours.y, theirs.y);
      ASSERT_EQ(ours.width, theirs.width);
      ASSERT_EQ(ours.height, theirs.height);
      ++checked;
    }
  EXPECT_GT(checked, 200);
}

}  // namespace
}  // namespace gles_test
