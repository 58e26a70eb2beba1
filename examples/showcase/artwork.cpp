#include "examples/showcase/artwork.h"

#include "display/display_engine.h"

void makePalette() {
  displayEngine.setPaletteEntry(0, 0, 0, 0);
  for (int i = 0; i < 63; ++i) {
    displayEngine.setPaletteEntry(blueRamp + i, 0, i * 2, 60 + i * 3);
    displayEngine.setPaletteEntry(warmRamp + i, 120 + i * 2, i * 4, 20);
    displayEngine.setPaletteEntry(greenRamp + i, 10, 60 + i * 3, 30 + i);
    displayEngine.setPaletteEntry(greyRamp + i, i * 4, i * 4, i * 4);
  }
  displayEngine.setPaletteEntry(white, 255, 255, 255);
}

void makePictures() {
  // Concentric rings in the blue ramp.
  displayEngine.fillSurface(ringsPicture, blueRamp);
  for (int radius = 400, ring = 0; radius > 0; radius -= 12, ++ring)
    displayEngine.drawFilledCircle(ringsPicture, screenWidth / 2, screenHeight / 2, radius,
                                   blueRamp + (ring * 5) % 63);
  // Warm horizontal bands with green columns across them.
  for (int y = 0; y < screenHeight; y += 8)
    displayEngine.fillRect8(bandsPicture, 0, y, screenWidth, 8, warmRamp + (y / 8) % 63);
  for (int x = 20; x < screenWidth; x += 80)
    displayEngine.fillRect8(bandsPicture, x, 0, 24, screenHeight, greenRamp + x / 12);
  displayEngine.drawFontText(-1, 16, screenWidth / 2, 0, "two pictures", 28, 0, FW_BOLD, 2,
                             RGB(255, 255, 255), 0, "", ANSI_CHARSET, bandsPicture, 0);
}

void makeSprite() {
  displayEngine.clearRect(sprite, 0, 0, spriteSide, spriteSide);
  displayEngine.drawFilledCircle(sprite, 64, 64, 60, greenRamp + 40);
  displayEngine.drawFilledCircle(sprite, 64, 64, 44, 0);  // a ring, open in the middle
  displayEngine.fillRect8(sprite, 8, 58, 112, 12, white);
  displayEngine.fillRect8(sprite, 100, 40, 20, 48, warmRamp + 60);  // the arrow shows the turn
}

void makeGlyphSheet() {
  constexpr char glyphs[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ.";
  displayEngine.clearRect(glyphSheet, 0, 464, 16 * 37, 16);
  for (int g = 0; g < 37; ++g) {
    const char text[] = {glyphs[g], '\0'};
    displayEngine.drawFontText(-1, 464, 16 * g + 8, 0, text, -15, 0, FW_BOLD, 0, RGB(255, 230, 0),
                               0, "", ANSI_CHARSET, glyphSheet, 0);
  }
  DDCOLORKEY transparentZero{0, 0};
  surfaces[glyphSheet]->SetColorKey(DDCKEY_SRCBLT, &transparentZero);
}
