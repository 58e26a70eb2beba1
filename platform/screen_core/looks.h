// The looks a screen can give a picture that is smaller (or larger) than the screen, and where
// the picture goes on the screen in each. Pure arithmetic, shared by the GPU presenter, the
// screens that choose a look and the tests.
#pragma once

#include <optional>
#include <string_view>

namespace compat {

enum class Look {
  integer,  // whole factors with black bars: every picture pixel the same square of pixels
  sharp,    // the largest area of the picture's shape: solid pixels, edges blended over one
  crt,      // the same area, as a monitor of the picture's time showed it
};

inline constexpr Look defaultLook = Look::sharp;

// "integer", "sharp", "crt": the names a user sees and a state file keeps.
std::string_view lookName(Look look);
// The look of that name; nothing for any other text.
std::optional<Look> parseLook(std::string_view name);
// The look after this one when the user cycles them: integer, sharp, crt, integer...
Look nextLook(Look look);

// A rectangle of the drawable in whole pixels, y counted from the top.
struct ScreenRect {
  int x;
  int y;
  int width;
  int height;
};

// Where the picture is drawn for a look, on a drawable of the given size in pixels. Empty
// (all zero) when either size is not positive.
ScreenRect lookRectangle(Look look, int pictureWidth, int pictureHeight, int drawableWidth,
                         int drawableHeight);

// The SDL renderer's rectangle for a logical size, with whole factors where the drawable holds
// the picture and scaled down with its shape kept where it does not (never cropped).
ScreenRect integerRectangle(int pictureWidth, int pictureHeight, int drawableWidth,
                            int drawableHeight);

// The largest rectangle of the picture's shape that fits, centred.
ScreenRect aspectRectangle(int pictureWidth, int pictureHeight, int drawableWidth,
                           int drawableHeight);

// A pointer's place on the picture: (x, y) in the window's own units (points, CSS pixels), the
// window `windowWidth` x `windowHeight` of them over a drawable of `drawableWidth` x
// `drawableHeight` pixels, the picture drawn in `rect` of it. The picture pixel under the
// point's centre; in the bars, the picture's nearest edge, as a display mode's pointer never
// leaves its screen. (0, 0) when any size is not positive.
struct PicturePoint {
  int x;
  int y;
};
PicturePoint pointOnPicture(int x, int y, int windowWidth, int windowHeight, int drawableWidth,
                            int drawableHeight, const ScreenRect& rect, int pictureWidth,
                            int pictureHeight);

}  // namespace compat
