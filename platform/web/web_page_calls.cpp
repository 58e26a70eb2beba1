#include "platform/web/web_page_calls.h"

#include <emscripten.h>

// clang-format off
EM_JS(void, rz_tell_page_of_screen, (int gpu), {
  Module["rotozoomPage"].screen(gpu ? "webgl2" : "2d");
});

EM_JS(void, rz_let_page_take_pictures, (), {
  // The page reads the picture from the module's memory at once: the next call into the
  // module may move or change it. WebScreen::PagePicture: width, height, pixels' address,
  // their size (32 bits each), then 768 bytes of palette.
  const read = at => {
    const fields = HEAP32.subarray(at >> 2, (at >> 2) + 4);
    return {width: fields[0], height: fields[1],
            pixels: HEAPU8.subarray(fields[2], fields[2] + fields[3]),
            palette: HEAPU8.subarray(at + 16, at + 16 + 768)};
  };
  const page = Module["rotozoomPage"];
  page.takePicture = () => {
    const picture = read(_rz_page_picture());
    return {width: picture.width, height: picture.height, pixels: picture.pixels.slice(),
            palette: picture.palette.slice()};
  };
  // Planes to be copied before anything else runs in the module.
  page.takeVideoPicture = () => {
    const picture = read(_rz_page_video_picture());
    return {width: picture.width, height: picture.height, planes: picture.pixels};
  };
});

EM_JS(void, rz_tell_page_of_picture, (), {
  Module["rotozoomDrawnAt"] = performance.now();
  const shown = Module["rotozoomPage"].pictureShown;
  if (shown) shown();
});

EM_JS(void, rz_use_fresh_canvas, (), { Module["canvas"] = Module["rotozoomPage"].freshCanvas(); });

EM_JS(void, rz_show_stand_in, (int shown), { Module["rotozoomPage"].showStandIn(shown !== 0); });

EM_JS(void, rz_read_gl_renderer, (char* name, int capacity), {
  let text = "";
  try {
    const context = GL.currentContext.GLctx;
    const info = context.getExtension("WEBGL_debug_renderer_info");
    text = String(context.getParameter(info ? info.UNMASKED_RENDERER_WEBGL : context.RENDERER));
  } catch (error) {
    // No context, or a browser that will not say: unnamed.
  }
  stringToUTF8(text, name, capacity);
});

EM_JS(int, rz_page_allows_processor_looks, (), {
  return Module["rotozoomPage"].webGlOnly ? 0 : 1;
});

EM_JS(void, rz_show_copy_canvas, (int shown), {
  Module["rotozoomPage"].showCopyCanvas(shown !== 0);
});

EM_JS(void, rz_put_frame_at, (const std::uint8_t* rgba, int width, int height, int canvasWidth,
                              int canvasHeight, int x, int y, int clear), {
  const canvas = Module["rotozoomPage"].copyCanvas;
  if (!canvas) return;
  if (canvas.width !== canvasWidth || canvas.height !== canvasHeight) {
    canvas.width = canvasWidth;
    canvas.height = canvasHeight;
    clear = 1;
  }
  const context = canvas.getContext("2d", {alpha: false});
  if (clear) {
    context.fillStyle = "#000";
    context.fillRect(0, 0, canvasWidth, canvasHeight);
  }
  const pixels = new Uint8ClampedArray(HEAPU8.buffer, rgba, width * height * 4);
  context.putImageData(new ImageData(pixels, width, height), x, y);
});

EM_JS(void, rz_read_page_view, (int* widthHeight, char* lookName, int capacity), {
  const page = Module["rotozoomPage"];
  const pixels = page.canvasPixels;
  HEAP32[widthHeight >> 2] = pixels.width;
  HEAP32[(widthHeight >> 2) + 1] = pixels.height;
  stringToUTF8(String(page.look), lookName, capacity);
});

EM_JS(void, rz_read_canvas_css_size, (int* widthHeight), {
  const box = Module["canvas"].getBoundingClientRect();
  HEAP32[widthHeight >> 2] = Math.round(box.width);
  HEAP32[(widthHeight >> 2) + 1] = Math.round(box.height);
});

EM_JS(void, rz_size_canvas, (int width, int height), {
  const canvas = Module["canvas"];
  if (canvas.width !== width) canvas.width = width;
  if (canvas.height !== height) canvas.height = height;
});

EM_JS(void, rz_put_frame, (const std::uint8_t* rgba, int width, int height), {
  const canvas = Module["rotozoomPage"].standIn || Module["canvas"];
  if (canvas.width !== width || canvas.height !== height) {
    canvas.width = width;
    canvas.height = height;
  }
  const pixels = new Uint8ClampedArray(HEAPU8.buffer, rgba, width * height * 4);
  canvas.getContext("2d").putImageData(new ImageData(pixels, width, height), 0, 0);
});

EM_JS(void, rz_set_cursor_visible, (int visible), {
  Module["canvas"].style.cursor = visible ? "" : "none";
});

EM_JS(double, rz_now, (), { return performance.now(); });

EM_JS(void, rz_tell_page_of_waits, (), {
  // While a wait is in flight the program's stack is unwound to the browser, and the runtime
  // reports main() as returned; the page must not take that for the program's end.
  Module["rotozoomPage"].waiting = () => Asyncify.currData !== null;
});

EM_JS(void, rz_let_page_remove_listeners, (), {
  // Each listener refers to this instance of the module: left on the page, it would keep the
  // ended program alive with all its memory, and still run its handlers.
  Module["rotozoomPage"].stopListening = () => JSEvents.removeAllEventListeners();
});

EM_ASYNC_JS(void, rz_wait_until, (double until), {
  // Animation frames pace the waiting; a hidden page gets none, so a timer stands in. Whichever
  // comes first cancels the other: a hidden page keeps its frame requests until it is shown,
  // and each would keep this instance alive after the program has ended.
  // A picture drawn since the browser's last frame has not been shown yet: the wait lasts at
  // least until a frame, else the next picture would replace it unseen. The document's
  // timeline holds the time of the last frame the browser made.
  const drawnAt = Module["rotozoomDrawnAt"];
  const frameTime = document.timeline ? document.timeline.currentTime : null;
  let shown = drawnAt === undefined || frameTime === null || frameTime > drawnAt;
  while (performance.now() < until || !shown) {
    shown = true;
    await new Promise(resolve => {
      const timer = setTimeout(() => {
        cancelAnimationFrame(frame);
        resolve();
      }, Math.max(0, until - performance.now()) + 50);
      const frame = requestAnimationFrame(() => { clearTimeout(timer); resolve(); });
    });
  }
});

EM_ASYNC_JS(void, rz_yield, (), { await new Promise(resolve => setTimeout(resolve, 0)); });

EM_ASYNC_JS(void, rz_show_dialog, (const char* caption, const char* text), {
  await Module["rotozoomPage"].showDialog(UTF8ToString(caption), UTF8ToString(text));
});

EM_JS(int, rz_close_requested, (), { return Module["rotozoomPage"].closeRequested ? 1 : 0; });

EM_JS(int, rz_dialog_open, (), { return document.querySelector("dialog[open]") ? 1 : 0; });

EM_JS(int, rz_decode_shift_jis, (const char* bytes, int size, std::uint32_t* out, int capacity), {
  let decoder;
  try {
    decoder = new TextDecoder("shift_jis");
  } catch (e) {
    return -1;
  }
  const text = decoder.decode(HEAPU8.subarray(bytes, bytes + size));
  let count = 0;
  for (const character of text) {
    if (count < capacity) HEAPU32[(out >> 2) + count] = character.codePointAt(0);
    ++count;
  }
  return count;
});

EM_ASYNC_JS(int, rz_decode_bitmap, (const std::uint8_t* bytes, int size, int* size2), {
  try {
    const blob = new Blob([HEAPU8.slice(bytes, bytes + size)], {type: "image/bmp"});
    const image = await createImageBitmap(
        blob, {premultiplyAlpha: "none", colorSpaceConversion: "none"});
    const canvas = new OffscreenCanvas(image.width, image.height);
    const context = canvas.getContext("2d", {colorSpace: "srgb"});
    context.drawImage(image, 0, 0);
    Module["rotozoomDecoded"] = context.getImageData(0, 0, image.width, image.height).data;
    HEAP32[size2 >> 2] = image.width;
    HEAP32[(size2 >> 2) + 1] = image.height;
    return 1;
  } catch (e) {
    return 0;
  }
});

EM_JS(void, rz_take_decoded, (std::uint8_t* rgba), {
  HEAPU8.set(Module["rotozoomDecoded"], rgba);
  Module["rotozoomDecoded"] = null;
});

EM_JS(void, rz_font_metrics, (const char* cssFont, int* out), {
  const context = new OffscreenCanvas(8, 8).getContext("2d");
  context.font = UTF8ToString(cssFont);
  const measured = context.measureText("Mgx");
  HEAP32[out >> 2] = Math.ceil(measured.fontBoundingBoxAscent);
  HEAP32[(out >> 2) + 1] = Math.ceil(measured.fontBoundingBoxDescent);
  HEAP32[(out >> 2) + 2] = Math.round(context.measureText("x").width);
});

EM_JS(int, rz_draw_glyph, (const char* cssFont, double scaleX, std::uint32_t character,
                           double angle, int* box), {
  const font = UTF8ToString(cssFont);
  const text = String.fromCodePoint(character);
  const probe = new OffscreenCanvas(8, 8).getContext("2d");
  probe.font = font;
  const measured = probe.measureText(text);
  const advance = measured.width * scaleX;
  const reach = Math.ceil(Math.abs(advance) + measured.fontBoundingBoxAscent +
                          measured.fontBoundingBoxDescent) + 4;
  const side = 2 * reach;
  const canvas = new OffscreenCanvas(side, side);
  const context = canvas.getContext("2d", {willReadFrequently: true});
  context.font = font;
  context.fillStyle = "#fff";
  context.translate(reach, reach);
  context.rotate(-angle);
  context.scale(scaleX, 1);
  context.fillText(text, 0, 0);
  const alpha = context.getImageData(0, 0, side, side).data;
  // Ink where the coverage is at least half: no colours between ink and paper.
  let left = side, top = side, right = -1, bottom = -1;
  for (let y = 0; y < side; ++y)
    for (let x = 0; x < side; ++x)
      if (alpha[(y * side + x) * 4 + 3] >= 128) {
        if (x < left) left = x;
        if (x > right) right = x;
        if (y < top) top = y;
        if (y > bottom) bottom = y;
      }
  const width = right < 0 ? 0 : right - left + 1;
  const rows = bottom < 0 ? 0 : bottom - top + 1;
  HEAP32[box >> 2] = width ? left - reach : 0;
  HEAP32[(box >> 2) + 1] = rows ? top - reach : 0;
  HEAP32[(box >> 2) + 2] = width;
  HEAP32[(box >> 2) + 3] = rows;
  HEAP32[(box >> 2) + 4] = Math.round(advance * 64);
  const ink = new Uint8Array(width * rows);
  for (let y = 0; y < rows; ++y)
    for (let x = 0; x < width; ++x)
      ink[y * width + x] = alpha[((top + y) * side + left + x) * 4 + 3] >= 128 ? 1 : 0;
  Module["rotozoomInk"] = ink;
  return width * rows;
});

EM_JS(void, rz_take_glyph_ink, (std::uint8_t* ink), {
  HEAPU8.set(Module["rotozoomInk"], ink);
  Module["rotozoomInk"] = null;
});
// clang-format on

namespace web {

void tellPageOfWaits() { rz_tell_page_of_waits(); }
void letPageRemoveListeners() { rz_let_page_remove_listeners(); }
void tellPageOfScreen(bool gpu) { rz_tell_page_of_screen(gpu ? 1 : 0); }
void letPageTakePictures() { rz_let_page_take_pictures(); }
void tellPageOfPicture() { rz_tell_page_of_picture(); }
void useFreshCanvas() { rz_use_fresh_canvas(); }
void showStandIn(bool shown) { rz_show_stand_in(shown ? 1 : 0); }
void readGlRenderer(char* name, int capacity) { rz_read_gl_renderer(name, capacity); }
bool pageAllowsProcessorLooks() { return rz_page_allows_processor_looks() != 0; }
void showCopyCanvas(bool shown) { rz_show_copy_canvas(shown ? 1 : 0); }
void putFrameAt(const std::uint8_t* rgba, int width, int height, int canvasWidth, int canvasHeight,
                int x, int y, bool clear) {
  rz_put_frame_at(rgba, width, height, canvasWidth, canvasHeight, x, y, clear ? 1 : 0);
}
void readPageView(int* widthHeight, char* lookName, int capacity) {
  rz_read_page_view(widthHeight, lookName, capacity);
}
void sizeCanvas(int width, int height) { rz_size_canvas(width, height); }

void readCanvasCssSize(int* widthHeight) { rz_read_canvas_css_size(widthHeight); }
void putFrame(const std::uint8_t* rgba, int width, int height) {
  rz_put_frame(rgba, width, height);
}
void setCursorVisible(bool visible) { rz_set_cursor_visible(visible ? 1 : 0); }
double pageNow() { return rz_now(); }
void waitUntil(double until) { rz_wait_until(until); }
void yieldToPage() { rz_yield(); }
void showDialog(const char* captionUtf8, const char* textUtf8) {
  rz_show_dialog(captionUtf8, textUtf8);
}
bool closeRequested() { return rz_close_requested() != 0; }
bool dialogOpen() { return rz_dialog_open() != 0; }
int decodeShiftJis(const char* bytes, int size, std::uint32_t* out, int capacity) {
  return rz_decode_shift_jis(bytes, size, out, capacity);
}
bool decodeBitmapFile(const std::uint8_t* bytes, int size, int* width, int* height) {
  int dimensions[2] = {0, 0};
  if (!rz_decode_bitmap(bytes, size, dimensions)) return false;
  *width = dimensions[0];
  *height = dimensions[1];
  return true;
}
void takeDecodedPixels(std::uint8_t* rgba) { rz_take_decoded(rgba); }
void fontMetrics(const char* cssFont, int* ascentDescentAverage) {
  rz_font_metrics(cssFont, ascentDescentAverage);
}
int drawGlyph(const char* cssFont, double scaleX, std::uint32_t character, double angle, int* box) {
  return rz_draw_glyph(cssFont, scaleX, character, angle, box);
}
void takeGlyphInk(std::uint8_t* ink) { rz_take_glyph_ink(ink); }

}  // namespace web
