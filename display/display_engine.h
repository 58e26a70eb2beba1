// The display engine: one global object through which everything is drawn, and the DirectDraw
// references and per-slot lock results that live beside it. A surface slot is an index 0..14
// into `surfaces`: slot 0 the primary surface, slot 1 the back buffer (full-screen) or the work
// surface presented into the window (windowed), slots 2 and up offscreen surfaces in system
// memory, all of the display's size.
#pragma once

#include <cstdint>

#include "platform/win32.h"

inline constexpr int maxSurfaceSlots = 15;

struct DisplayEngine {
  // Constructed once, before WinMain; never destroyed (shutdownDisplay is the clean-up).
  // Registers shutdownDisplay and updateWindowOrigin with the host, which calls them when the
  // program ends and when the main window moves.
  DisplayEngine();

  // Creates the DirectDraw object, the primary surface (with its back buffer in full-screen),
  // the palette from basePalette, the clipper (windowed) and the offscreen slots, and clears
  // every slot to colour 0. 1 on success; 0 as soon as a step fails, keeping what was made
  // (shutdownDisplay releases it). A display mode that cannot be set ends the program. A
  // surface count above 15 or below 2 (the primary and slot 1 are always made), or a
  // full-screen flag other than 0 or 1, is refused at once: 0, and nothing made.
  int32_t setupDisplay(HWND window, int32_t width, int32_t height, int32_t fullscreen,
                       int32_t bitsPerPixel, int32_t surfaceCount);
  // Releases every DirectDraw object that exists. Safe at any time, and more than once.
  void shutdownDisplay();
  // Recomputes windowOrigin from the window's place; called when the window moves.
  void updateWindowOrigin();
  // Fills the slot's whole surface with colour 0; the Blt result.
  HRESULT clearSurface(int32_t slot);

  // ---- Rectangle fills and copies (blits.cpp). Each hands back DirectDraw's result.
  // Rectangles are a corner and a size: (x, y, x + w, y + h), right and bottom exclusive.
  HRESULT fillRect(int32_t slot, int32_t x, int32_t y, int32_t w, int32_t h, int32_t colour);
  // As fillRect with the colour's low byte: the palette index.
  HRESULT fillRect8(int32_t slot, int32_t x, int32_t y, int32_t w, int32_t h, int32_t colour);
  HRESULT fillSurface(int32_t slot, int32_t colour);
  HRESULT clearRect(int32_t slot, int32_t x, int32_t y, int32_t w, int32_t h);
  // The four 1-pixel edges of the rectangle after clipping to clipRect; 1 when nothing is left.
  HRESULT drawRectOutline(int32_t slot, int32_t x, int32_t y, int32_t w, int32_t h, int32_t colour);
  // BltFast of the source rectangle (null: the whole source) to (x, y), unclipped.
  HRESULT blitFast(int32_t x, int32_t y, RECT* sourceRect, int32_t destSlot, int32_t sourceSlot,
                   DWORD flags);
  HRESULT blitRect(int32_t x, int32_t y, int32_t srcX, int32_t srcY, int32_t w, int32_t h,
                   int32_t destSlot, int32_t sourceSlot, DWORD flags);
  // blitRect trimmed to clipRect; 1 without drawing when nothing is left.
  HRESULT blitClipped(int32_t x, int32_t y, int32_t srcX, int32_t srcY, int32_t w, int32_t h,
                      int32_t destSlot, int32_t sourceSlot, DWORD flags);
  void setClipRect(int32_t left, int32_t top, int32_t right, int32_t bottom);
  // Moves and shrinks the destination rectangle into clipRect, moving the source corner by
  // the same amounts. True when nothing is left to draw.
  bool clipToRect(int32_t& x, int32_t& y, int32_t& srcX, int32_t& srcY, int32_t& w, int32_t& h);

  // ---- Palette (palette.cpp). Every change is built in basePalette / shownPalette and handed
  // to the display palette in one transfer: 256 entries full-screen; windowed, table entries
  // 0..235 to hardware entries 10..245 (the rest belong to the system).
  // Reads the 256-entry colour table at byte 54 of an 8-bit BMP file into both tables and
  // gives every slot in use (the full-screen primary excepted) the source colour key 0. A
  // file that cannot be opened ends the program with the file-not-found box.
  void loadPaletteFromBmp(const char* fileName);
  void setPaletteEntry(int32_t index, int32_t red, int32_t green, int32_t blue);
  void resetPalette();
  void applyPalette();
  // Entries first..last at basePalette plus level (clamped per component); entry 0 excepted.
  void setRangeBrightness(int32_t first, int32_t last, int32_t level);
  void setEntryBrightness(int32_t index, int32_t level);
  // The whole table, changed during the vertical blank.
  void setBrightness(int32_t level);
  // Timed fades: a brightness step every waitMs milliseconds, pumping messages meanwhile,
  // then a last step at exactly `to`.
  void fadeUp(int32_t from, int32_t to, int32_t step, uint32_t waitMs);
  void fadeDown(int32_t from, int32_t to, int32_t step, uint32_t waitMs);
  void fadeRangeUp(int32_t from, int32_t to, int32_t first, int32_t last, int32_t step,
                   uint32_t waitMs);
  void fadeRangeDown(int32_t from, int32_t to, int32_t first, int32_t last, int32_t step,
                     uint32_t waitMs);

  // ---- Drawing through GDI (gdi_drawing.cpp): each takes the slot's device context and gives
  // it back, with every object it selected restored and every object it made deleted.
  // Copies width x height pixels from (srcX, srcY) of a BMP file to (destX, destY) of the slot,
  // each pixel as its nearest palette colour. A file that cannot be loaded ends the program
  // with the file-not-found box.
  void loadBitmapToSurface(const char* fileName, int32_t width, int32_t height, int32_t destX,
                           int32_t destY, int32_t srcX, int32_t srcY, int32_t slot);
  // Text in the context's defaults: the system font, black on an opaque white box.
  void drawText(int32_t slot, int32_t x, int32_t y, const char* text);
  // Text in a font of the caller's, transparent, optionally with a drop shadow in 0x010101.
  // x or y of -1 centres the text on centreX or centreY. Measures the text into textExtent.
  // A font that cannot be made ends the program with the box "font".
  void drawFontText(int32_t x, int32_t y, int32_t centreX, int32_t centreY, const char* text,
                    int32_t height, int32_t width, int32_t weight, int32_t shadow, COLORREF colour,
                    int32_t italic, const char* faceName, int32_t charSet, int32_t slot,
                    int32_t escapement);
  // A filled circle in the base colour of a palette entry.
  void drawFilledCircle(int32_t slot, int32_t centreX, int32_t centreY, int32_t radius,
                        int32_t index);
  // The palette index GDI picks for a colour, found by drawing it at (0, 0) of slot 1 and
  // putting the pixel back.
  uint8_t probePaletteIndex(COLORREF colour);

  // ---- Pixel effects (mosaic_copy.cpp, dissolve_copy.cpp, rotated_sprite.cpp, sine_strips.cpp,
  // bitmap_font_text.cpp). None reports a result. Whatever the areas, they read and write only
  // pixels on the surfaces; a failed lock draws nothing, and one slot may be both destination
  // and source.
  // Copies the area as blockSize x blockSize blocks, each in the colour of the source pixel at
  // its top-left corner (blocks counted from the area's corner); 0 fills the whole area with the
  // source corner's colour, a negative size draws nothing.
  void mosaicCopy(int32_t destX, int32_t destY, int32_t srcX, int32_t srcY, int32_t width,
                  int32_t height, int32_t destSlot, int32_t sourceSlot, int32_t blockSize);
  // Copies one position of every 4 x 4 cell, the one dissolve step 0..15 stands for (other
  // steps draw nothing and lock nothing). flags == DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT leaves
  // colour 0 out; any other value copies it.
  void dissolveCopy(int32_t destX, int32_t destY, int32_t srcX, int32_t srcY, int32_t width,
                    int32_t height, int32_t destSlot, int32_t sourceSlot, int8_t step,
                    int32_t flags);
  // Draws the block turned counter-clockwise by `angle` degrees about its centre, which lands
  // where it lies in an unturned copy at (centreX, centreY). Index 0 is transparent; turned
  // pixels land only within columns 0..638 and rows 0..478.
  void drawRotatedSprite(int32_t centreX, int32_t centreY, int32_t srcX, int32_t srcY,
                         int32_t width, int32_t height, int32_t angle, int32_t destSlot,
                         int32_t sourceSlot);
  // Copies the block row by row, row i moved down by sin(i * frequency + phase) * amplitude
  // (degrees, pixels); rows that land where the previous row landed are skipped. Each row is a
  // blitClipped.
  void drawSineStrips(int32_t x, int32_t y, int32_t srcX, int32_t srcY, int32_t width,
                      int32_t rowCount, int32_t destSlot, int32_t sourceSlot, int32_t flags,
                      float phase, float frequency, float amplitude);
  // Writes the text in the 16 x 16 bitmap font whose glyphs are the band of rows 464..479 of
  // slot 2, one blitRect per glyph, 16 pixels per character; characters without a glyph leave a
  // gap. x of -1 centres the text on column 320.
  void drawBitmapFontText(int32_t slot, int32_t x, int32_t y, const char* text, int8_t flags);

  // ---- Presentation (page_presentation.cpp)
  // Shows the back buffer: a page flip full-screen (surfaceBits of slots 0 and 1 follow the
  // swap), a copy to the window's place on the desktop windowed. Called with no slot locked.
  void presentFrame();
  // Restores lost surfaces, clears the primary and presents.
  void restoreSurfaces();
  // Returns as the vertical blank begins.
  HRESULT waitVerticalBlank();

  // Locks the slot's whole surface and records its first pixel and pitch in surfaceBits and
  // surfacePitch. A failed lock, or a slot without a surface, leaves a null address and pitch
  // 0, which the pixel routines check before they write; a lock refused because the slot is
  // already locked keeps the holder's lock record.
  void lockSurface(int32_t slot);
  // Gives back the lock taken by lockSurface, with the address that lock handed out.
  HRESULT unlockSurface(int32_t slot);

  DDBLTFX clearFx;                             // colour 0 fills of clearSurface and clearRect
  DDBLTFX fillFx;                              // colour fills; keeps the last colour used
  DDSURFACEDESC surfaceDesc[maxSurfaceSlots];  // each slot's lock record
  int32_t surfaceCount;                        // slots in use; 0 before set-up and after teardown
  RECT clipRect;                               // the clipped copies' bounds, right/bottom exclusive
  int32_t width;                               // display size, and every offscreen slot's
  int32_t height;
  int32_t fullscreen;    // 1: exclusive with page flips; 0: windowed
  SIZE textExtent;       // size of the last font text drawn
  uint8_t* swapScratch;  // used while presentFrame swaps two surfaceBits

 private:
  void transferPalette(const PALETTEENTRY* table);
};

extern DisplayEngine displayEngine;

extern LPDIRECTDRAWSURFACE surfaces[maxSurfaceSlots];
extern LPDIRECTDRAW directDraw;
extern LPDIRECTDRAWPALETTE displayPalette;
extern LPDIRECTDRAWCLIPPER windowClipper;  // windowed mode only; bound to mainWindow
extern uint8_t* surfaceBits[maxSurfaceSlots];
extern int32_t surfacePitch[maxSurfaceSlots];
extern POINT windowOrigin;  // the window's client area on the desktop; (0, 0) in full-screen

// Whether a slot number names a surface: 0..14, and created by set-up. Every operation checks
// its slots with this before it indexes a table: one that does not hold a surface is refused
// (DDERR_INVALIDPARAMS where the operation hands back a result; nothing drawn otherwise).
inline bool holdsSurface(int32_t slot) {
  return slot >= 0 && slot < maxSurfaceSlots && surfaces[slot] != nullptr;
}
