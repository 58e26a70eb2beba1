// Everything the web platform asks of the page, in one place: the C++ side calls JavaScript
// only through these named functions (their bodies are in web_page_calls.cpp), and knows
// nothing of the page beyond the canvas and the hooks of pages/page.js.
#pragma once

#include <cstdint>

namespace web {

// Lets the page tell the program's end from its waits (called once, at start-up).
void tellPageOfWaits();

// Lets the page take the program's listeners (those set through Emscripten's HTML5 API) off the
// page when the program has ended, however it ended. Called once they are set.
void letPageRemoveListeners();

// Tells the page how the picture reaches the canvas (once, at start-up): through WebGL2 at the
// canvas's displayed size in device pixels, or as a 2D image at its own size, which the page
// then scales.
void tellPageOfScreen(bool gpu);

// Lets the page read the kept picture whenever it asks (once, at start-up): its hooks
// takePicture() and takeVideoPicture() call into the module (web_page_pictures.cpp).
void letPageTakePictures();

// Tells the page that a picture has just been shown (a new frame or new colours), for a
// recording that takes each one.
void tellPageOfPicture();

// Replaces the canvas with a fresh one, which has no context yet: after a WebGL2 context was
// made on the old one and could not be used, since such a canvas gives no 2D context.
void useFreshCanvas();

// Shows the page's 2D stand-in canvas over the program's canvas, whose WebGL2 context was lost
// (putFrame then draws there), or takes it away again once the context is back; the page
// tells the visitor.
void showStandIn(bool shown);

// The renderer behind the current WebGL2 context, as the browser names it to pages (the
// unmasked name where it gives one: "ANGLE (Google, Vulkan 1.3.0 (SwiftShader Device ...))"),
// cut to `capacity` - 1 bytes and terminated; empty where it names none.
void readGlRenderer(char* name, int capacity);

// Whether the page lets the plain looks be drawn on the processor where WebGL runs there
// (its test hook rotozoomWebGlOnly keeps everything on WebGL).
bool pageAllowsProcessorLooks();

// Shows the page's copy canvas over the program's canvas (putFrameAt then draws there), or
// takes it away: a 2D canvas the size of the WebGL2 canvas's drawing buffer, on which the
// picture is put already scaled, pixel for pixel.
void showCopyCanvas(bool shown);
// Puts width x height RGBA pixels in the module's memory at (x, y) of the copy canvas, whose
// drawing buffer is first made canvasWidth x canvasHeight pixels; with `clear`, or when that
// size changes, the rest of the canvas is painted black.
void putFrameAt(const std::uint8_t* rgba, int width, int height, int canvasWidth, int canvasHeight,
                int x, int y, bool clear);

// What the page asks of the picture drawn on the GPU: the canvas's displayed size in device
// pixels, as the page last measured it, into widthHeight[0] and [1]; and the name of the look
// chosen on the page, cut to `capacity` - 1 bytes and terminated, into `lookName`.
void readPageView(int* widthHeight, char* lookName, int capacity);

// Makes the canvas's drawing buffer width x height pixels, where it is not already (a new
// size clears it).
void sizeCanvas(int width, int height);
// The canvas's displayed size in CSS pixels, the units of the page's pointer positions.
void readCanvasCssSize(int* widthHeight);

// Puts one frame on the 2D canvas (the stand-in while there is one): width x height RGBA
// pixels in the module's memory, as one ImageData. The canvas takes the frame's size; the page
// scales it with nearest sampling.
void putFrame(const std::uint8_t* rgba, int width, int height);

// Hides or shows the pointer over the canvas.
void setCursorVisible(bool visible);

// Milliseconds of the page's monotonic clock (performance.now()).
double pageNow();

// Gives the browser the thread until the page's clock reads `until` (milliseconds), waking on
// its animation frames; the page's events are handled meanwhile.
void waitUntil(double until);

// Gives the browser the thread once, so that the page's events are handled.
void yieldToPage();

// The page's message box: a dialog with the caption, the text and an OK button; returns when
// it has been answered.
void showDialog(const char* captionUtf8, const char* textUtf8);

// True while the page shows a dialog, whose keys are its own.
bool dialogOpen();

// True once the page has asked the program to end (a new texture was chosen, say).
bool closeRequested();

// Code page 932 text through the browser's Shift_JIS decoder: the characters, at most
// `capacity`, into `out`; their count, or -1 when the browser has no such decoder.
int decodeShiftJis(const char* bytes, int size, std::uint32_t* out, int capacity);

// A bitmap file decoded by the browser into RGBA (no colour management). The size, or false
// when it cannot decode it; then takeDecodedPixels copies width x height x 4 bytes out.
bool decodeBitmapFile(const std::uint8_t* bytes, int size, int* width, int* height);
void takeDecodedPixels(std::uint8_t* rgba);

// Text on the page's canvas: the font's ascent, descent and average character width in
// pixels, for a CSS font; and one character drawn turned by `angle` radians about its pen
// position, as ink. The glyph's box relative to the pen (left, top, width, rows, and the
// advance in 1/64 pixels) goes to `box`. Returns the ink's byte count; takeGlyphInk then copies
// the ink (1 byte a pixel, 1 where drawn) out.
void fontMetrics(const char* cssFont, int* ascentDescentAverage);
int drawGlyph(const char* cssFont, double scaleX, std::uint32_t character, double angle, int* box);
void takeGlyphInk(std::uint8_t* ink);

}  // namespace web
