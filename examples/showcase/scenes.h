// The showcase's scenes. Each draws into the back buffer and presents about 60 frames a
// second; Escape ends the program from inside any of them.
#pragma once

void fadeInFromBlack();
void dissolveBetweenPictures();
void turningSprite();
void sineWaveStrips();
void bitmapAndFontText();
void filledCircles();
void mosaic();
void fadeOutToBlack();
