// The pages in a real browser (Debian's Chromium, headless, driven by puppeteer-core, WebGL2 on
// its software renderer), as a visitor uses them:
//  - the demo's page loads with no console error and shows the turning texture, the FPS box at
//    the top-left; in the integer look, every picture pixel is a square of screen pixels with
//    black bars around, and the frame they make is one the demo draws on Linux;
//  - Escape ends the program and the page says so;
//  - a dropped file that is not a bitmap restarts the program on it, which shows the
//    file-not-found box with its text; OK ends it with status 1;
//  - restarts (a picked file, a dropped file, "Start again") leave only the running program
//    alive: ended instances are collected, the page's memory returns near its value after the
//    first start, one set of listeners remains and a key press runs one handler; so does an
//    error that ends the program, and a restart while the page is hidden; a running program
//    replaced, and one that ended through its box, are collected, counted after each;
//  - the showcase's page runs through its scenes; the smallest program's page, made from the
//    template, shows its frame (minimal_page.js);
//  - every key of the key table, by the page's name for it (KeyboardEvent.code), reaches a
//    program's window as the virtual key Windows gives it, the keypad's with Num Lock on and off;
//    the page's own keys (Alt+L, Alt+Enter, Alt+P, Alt+R) do not;
//  - a visitor's own picture of any kind, the saved picture and the recording
//    (picture_test.js);
//  - the looks, full screen, the canvas's size, the 2D canvas without WebGL2 and through a lost
//    WebGL2 context (looks_test.js).
// Screenshots go to SHOTS for people to look at. MAKE_TEXTURE (the native make-texture), when
// given, is checked to make the same texture from a PNG as the page does.
//   node web_test.js WEB_BUILD MATCH_FRAME SHOTS [MAKE_TEXTURE]
"use strict";
const assert = require("assert");
const {execFileSync} = require("child_process");
const fs = require("fs");
const os = require("os");
const path = require("path");
const {sleep, serve, launchBrowser, openPage, endedText} = require("./pages");
const {screenPixels, pixelAt, colourCount, lookRectangle} = require("./screen_pixels");
const looks = require("./looks_test");
const {minimalPage} = require("./minimal_page");
const pictures = require("./picture_test");
const {paceWithLongDrawing} = require("./pace_test");

const [webBuild, matchFrame, shots, makeTexture] = process.argv.slice(2);
fs.mkdirSync(shots, {recursive: true});

// The demo's frame as the page shows it in full screen in the integer look: the screenshot,
// whose size must be the canvas's drawing buffer's, black outside the picture's place and one
// colour in each picture pixel's square; the 320 x 240 frame those squares make, three bytes a
// pixel.
async function integerFrame(page) {
  const buffer = await page.$eval("#canvas", canvas => [canvas.width, canvas.height]);
  const screen = await screenPixels(page);
  assert.deepStrictEqual([screen.width, screen.height], buffer,
                         "the canvas's drawing buffer is not the screen's size");
  const rect = lookRectangle("integer", 320, 240, screen.width, screen.height);
  const factor = rect.width / 320;
  assert(factor >= 2, `the canvas (${screen.width} x ${screen.height}) holds the picture once`);
  const frame = {width: 320, height: 240, data: Buffer.alloc(320 * 240 * 3)};
  const faults = [];
  for (let y = 0; y < screen.height; ++y) {
    for (let x = 0; x < screen.width; ++x) {
      const got = pixelAt(screen, x, y);
      const px = Math.floor((x - rect.x) / factor), py = Math.floor((y - rect.y) / factor);
      if (px < 0 || py < 0 || px >= 320 || py >= 240) {
        if (got.some(value => value)) faults.push(`(${x}, ${y}) outside the picture is ${got}`);
        continue;
      }
      const at = (py * 320 + px) * 3;
      if (x === rect.x + px * factor && y === rect.y + py * factor)
        frame.data.set(got, at);
      else if (got.some((value, c) => value !== frame.data[at + c]))
        faults.push(`(${x}, ${y}) differs from its square's first pixel`);
    }
  }
  assert.deepStrictEqual(faults.slice(0, 8), [], `${faults.length} faults`);
  return frame;
}

async function demoPage(browser, base) {
  const {page, problems} = await openPage(browser, `${base}/rotozoom.html`);
  await page.waitForSelector("#canvas.gpu", {timeout: 10000});
  await page.click("#fullscreen");
  await looks.inFullScreen(page, 800, 640);
  await page.select("#look", "integer");
  await sleep(1500);
  const one = await integerFrame(page);
  await page.screenshot({path: path.join(shots, "demo-page.png")});
  await sleep(400);
  const two = await integerFrame(page);
  assert(colourCount(one) > 20 && colourCount(two) > 20, "a picture of almost one colour");
  assert(!one.data.equals(two.data), "the picture does not move");
  for (const x of [0, 2]) {  // the FPS box's paper below the text's baseline
    const [r, g, b] = pixelAt(one, x, 15);
    assert(r > 230 && g > 230 && b > 200, `no white FPS box at (${x}, 15)`);
  }
  console.log("ok: the demo's page shows the turning texture with the FPS box, in whole squares");

  // A frame from the screen is one of the frames the demo draws on Linux.
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), "rotozoom-web-"));
  fs.copyFileSync(path.join(webBuild, "texture.bmp"), path.join(folder, "texture.bmp"));
  fs.writeFileSync(path.join(folder, "canvas.rgb"), two.data);
  const matched = execFileSync(matchFrame, ["canvas.rgb"], {cwd: folder}).toString().trim();
  fs.rmSync(folder, {recursive: true});
  console.log(`ok: the page shows a Linux frame: ${matched}`);

  await page.keyboard.press("Escape");
  const text = await endedText(page);
  assert.match(text, /exit status 1/, `the page says: ${text}`);
  await page.screenshot({path: path.join(shots, "demo-ended.png")});
  assert.deepStrictEqual(problems, []);
  console.log(`ok: Escape ends the program, and the page says "${text}"`);

  // Starting again, then a file that is not a bitmap dropped on the picture.
  await page.click("#again");
  await sleep(1000);
  await page.evaluate(() => {
    const transfer = new DataTransfer();
    transfer.items.add(new File(["this is not a bitmap"], "notes.txt", {type: "text/plain"}));
    document.querySelector("#stage").dispatchEvent(
        new DragEvent("drop", {dataTransfer: transfer, bubbles: true, cancelable: true}));
  });
  await page.waitForSelector("#box[open]", {timeout: 5000});
  const caption = await page.$eval("#box-caption", element => element.textContent);
  const message = await page.$eval("#box-text", element => element.textContent);
  await page.screenshot({path: path.join(shots, "demo-bad-file.png")});
  assert.strictEqual(caption, "エラーが発生したらしい(^^;");
  assert.strictEqual(message, "texture.bmp ファイルが見つかりません");
  await page.keyboard.press("Enter");  // the box answers Enter, as on Windows
  assert.match(await endedText(page), /exit status 1/);
  assert.deepStrictEqual(problems, []);
  console.log(`ok: a dropped non-bitmap shows the box "${message}"; Enter ends it with status 1`);
  await page.close();
}

// An 8-bit bitmap as the demo takes it, width x height with a full colour table: diagonal bands
// through all 256 colours. A large one makes every program instance hold tens of megabytes.
function bitmapFile(width, height) {
  const stride = (width + 3) & ~3;
  const pixelsAt = 14 + 40 + 256 * 4;
  const file = Buffer.alloc(pixelsAt + stride * height);
  file.write("BM", 0, "latin1");
  file.writeUInt32LE(file.length, 2);
  file.writeUInt32LE(pixelsAt, 10);
  file.writeUInt32LE(40, 14);
  file.writeInt32LE(width, 18);
  file.writeInt32LE(height, 22);
  file.writeUInt16LE(1, 26);
  file.writeUInt16LE(8, 28);
  file.writeUInt32LE(stride * height, 34);
  for (let i = 0; i < 256; ++i) file.set([i, 255 - i, (i * 7) & 255, 0], 54 + i * 4);
  for (let y = 0; y < height; ++y)
    for (let x = 0; x < width; ++x) file[pixelsAt + y * stride + x] = (x + y) & 255;
  return file;
}

// Runs in the page before its own scripts. Each instance of the program announces itself as
// it starts (a WeakRef to its module, which everything of the instance refers to), and each run
// of a program's keydown listener on the window is counted. The page's own key listener (its
// Alt+L and Alt+Enter, added by view.js) is left out of the count.
function watchPrograms() {
  window.startedPrograms = [];
  window.keyHandlerRuns = 0;
  // The last file picked, for dropping it too (the page empties its picker).
  document.addEventListener("change", event => {
    if (event.target.files && event.target.files[0]) window.lastPicked = event.target.files[0];
  }, true);
  let factory;
  Object.defineProperty(window, "create_rotozoom", {
    configurable: true,
    get: () => factory,
    set: made => {
      factory = settings => {
        window.startedPrograms.push(new WeakRef(settings));
        return made(settings);
      };
    },
  });
  const counting = new WeakMap();  // a listener -> its counting stand-in
  const add = EventTarget.prototype.addEventListener;
  const remove = EventTarget.prototype.removeEventListener;
  EventTarget.prototype.addEventListener = function(type, listener, options) {
    const fromPage = /\/view\.js:/.test(new Error().stack);
    if (this === window && type === "keydown" && typeof listener === "function" && !fromPage) {
      const handler = listener;
      if (!counting.has(handler)) {
        counting.set(handler, function(event) {
          ++window.keyHandlerRuns;
          return handler.call(this, event);
        });
      }
      return add.call(this, type, counting.get(handler), options);
    }
    return add.call(this, type, listener, options);
  };
  EventTarget.prototype.removeEventListener = function(type, listener, options) {
    return remove.call(this, type, counting.get(listener) || listener, options);
  };
}

// After a full garbage collection: how many of the announced instances are still alive, and
// the page's memory: the JavaScript heap with the DOM's and the array buffers' memory, and the
// WebAssembly memories of the instances alive (which the heap's figures leave out).
async function liveness({page, devtools}) {
  await devtools.send("HeapProfiler.collectGarbage");
  const heap = await devtools.send("Runtime.getHeapUsage");
  const js = heap.usedSize + (heap.embedderHeapUsedSize || 0) + (heap.backingStorageSize || 0);
  const {started, alive, wasm} = await page.evaluate(() => {
    const modules = startedPrograms.map(program => program.deref()).filter(module => module);
    const bytes = module => module.HEAPU8 ? module.HEAPU8.length : 0;  // none before it is made
    const wasm = modules.reduce((sum, module) => sum + bytes(module), 0);
    return {started: startedPrograms.length, alive: modules.length, wasm};
  });
  return {started, alive, js, wasm};
}

const megabytes = bytes => `${(bytes / 1048576).toFixed(1)} MB`;

function report(when, {js, wasm, alive, started}) {
  console.log(`${when}: JS heap ${megabytes(js)}, WebAssembly ${megabytes(wasm)}, ` +
              `${alive} of ${started} instances alive`);
}

// How many listeners of each type are on what `expression` gives (the window, an element).
async function listenerCounts({devtools}, expression) {
  const {result} = await devtools.send("Runtime.evaluate", {expression});
  const {listeners} = await devtools.send("DOMDebugger.getEventListeners",
                                          {objectId: result.objectId});
  await devtools.send("Runtime.releaseObject", {objectId: result.objectId});
  const counts = {};
  for (const {type} of listeners) counts[type] = (counts[type] || 0) + 1;
  return counts;
}

// The demo's page with its programs watched, and the ways a visitor starts the program again.
async function watchedDemoPage(browser, base, bitmap) {
  const {page, problems} = await openPage(browser, `${base}/rotozoom.html`, watchPrograms);
  const devtools = await page.createCDPSession();
  const picker = await page.$("#texture");
  const session = {page, problems, devtools, starts: 0};
  // A start is done once its instance is made and the page shows no end, and it has read its
  // texture: its memory has stopped growing (a large texture grows it well after the start on
  // a busy machine, and a count taken before would compare a program half loaded). (Polled on
  // a timer: a hidden page has no animation frames.)
  session.started = async () => {
    ++session.starts;
    await page.waitForFunction(count => startedPrograms.length === count &&
                                         !document.querySelector("#ended.shown"),
                               {timeout: 10000, polling: 50}, session.starts);
    await page.waitForFunction(() => {
      const module = startedPrograms[startedPrograms.length - 1].deref();
      const bytes = module && module.HEAPU8 ? module.HEAPU8.length : 0;
      const now = performance.now();
      if (bytes !== window.settling?.bytes) window.settling = {bytes, since: now};
      return bytes > 0 && now - window.settling.since >= 1000;
    }, {timeout: 20000, polling: 100});
  };
  session.restarts = {
    "a picked file": () => picker.uploadFile(bitmap),
    "a dropped file": () => page.evaluate(() => {
      const transfer = new DataTransfer();
      transfer.items.add(window.lastPicked);
      document.querySelector("#stage").dispatchEvent(
          new DragEvent("drop", {dataTransfer: transfer, bubbles: true, cancelable: true}));
    }),
    "Escape, then Start again": async () => {
      await page.keyboard.press("Escape");
      await endedText(page);
      await page.click("#again");
    },
  };
  await session.started();  // on the sample texture
  return session;
}

// Eight restarts, the three ways in turn, on a texture that makes each instance large.
async function restartsLeaveOneProgram(session) {
  const {page, restarts, started} = session;
  await restarts["a picked file"]();
  await started();
  const first = await liveness(session);
  report("after the first start on a 2048 x 2048 texture", first);
  const ways = Object.keys(restarts);
  for (let i = 0; i < 8; ++i) {
    await restarts[ways[i % ways.length]]();
    await started();
  }
  const last = await liveness(session);
  report(`after 8 more (${ways.join(", ")})`, last);
  await page.screenshot({path: path.join(shots, "demo-restarted.png")});
  const listeners = {window: await listenerCounts(session, "window"),
                     canvas: await listenerCounts(session, "document.querySelector('#canvas')")};
  await page.evaluate(() => { window.keyHandlerRuns = 0; });
  await page.keyboard.press("KeyA");
  const runs = await page.evaluate(() => window.keyHandlerRuns);

  const margin = 8 * 1048576;
  // One of each for the program; on the window, the page's own key listener (view.js) beside it.
  const expectedListeners = [["window", "keydown", 2], ["window", "keyup", 2],
                             ["canvas", "mousedown", 1], ["canvas", "mouseup", 1],
                             ["canvas", "mousemove", 1]];
  const faults = [
    last.started !== session.starts &&
        `${last.started} instances announced themselves for ${session.starts} starts`,
    last.alive > 1 && `${last.alive} of ${last.started} program instances are still alive`,
    last.js >= first.js + margin &&
        `the JavaScript heap grew from ${megabytes(first.js)} to ${megabytes(last.js)}`,
    last.wasm >= first.wasm + margin &&
        `the WebAssembly memory grew from ${megabytes(first.wasm)} to ${megabytes(last.wasm)}`,
    runs !== 1 && `a key press ran ${runs} keydown handlers`,
    ...expectedListeners.map(([on, type, count]) => listeners[on][type] !== count &&
                             `${listeners[on][type] || 0} ${type} listeners on the ${on}`),
  ].filter(fault => fault);
  assert.deepStrictEqual(faults, []);
  console.log(`ok: ${session.starts} starts leave one program and its listeners, memory within ` +
              `${megabytes(margin)} of the first start's on the same texture; a key press runs ` +
              "one handler");
}

// A running program replaced by a picked file, and one that ended through its message box (a
// dropped file that is not a bitmap, then OK) replaced the same way: after each, only the new
// program is alive and the page's memory is back within a margin of the first start's on the
// same texture.
async function replacedProgramsAreFreed(session) {
  const {page, restarts, started} = session;
  const margin = 8 * 1048576;
  await restarts["a picked file"]();
  await started();
  const base = await liveness(session);
  const endThroughBox = async () => {
    await page.evaluate(() => {
      const transfer = new DataTransfer();
      transfer.items.add(new File(["this is not a bitmap"], "notes.txt", {type: "text/plain"}));
      document.querySelector("#stage").dispatchEvent(
          new DragEvent("drop", {dataTransfer: transfer, bubbles: true, cancelable: true}));
    });
    await page.waitForSelector("#box[open]", {timeout: 10000});
    ++session.starts;  // the program that showed the box
    await page.keyboard.press("Enter");
    await endedText(page);
  };
  const faults = [];
  for (const [what, before] of [["a running program replaced", null],
                                ["a program ended through its box, replaced", endThroughBox],
                                ["a running program replaced", null],
                                ["a program ended through its box, replaced", endThroughBox]]) {
    if (before) await before();
    await restarts["a picked file"]();
    await started();
    const after = await liveness(session);
    report(`after ${what}`, after);
    if (after.alive > 1) faults.push(`${what}: ${after.alive} of ${after.started} alive`);
    if (after.js >= base.js + margin)
      faults.push(`${what}: JS heap ${megabytes(base.js)} -> ${megabytes(after.js)}`);
    if (after.wasm >= base.wasm + margin)
      faults.push(`${what}: WebAssembly ${megabytes(base.wasm)} -> ${megabytes(after.wasm)}`);
  }
  assert.deepStrictEqual(faults, []);
  console.log("ok: a running program replaced, and one ended through its box, are collected; " +
              `memory within ${megabytes(margin)} of the first start's`);
}

// An error the program does not catch ends it as its exit does. Here it traps as it reads the
// page's look for its next frame: a call through a null function pointer.
async function errorEndsProgram(session) {
  const {page, problems, started} = session;
  await page.evaluate(() => {
    const program = startedPrograms[startedPrograms.length - 1].deref();
    Object.defineProperty(program.rotozoomPage, "look", {get: () => program.dynCall_vi(0, 0)});
  });
  const text = await endedText(page);
  assert.match(text, /an error: .*null function/, `the page says: ${text}`);
  const traps = problems.filter(problem => /null function/.test(problem));
  assert.strictEqual(traps.length, 1, `the trap shows on the console ${traps.length} times`);
  problems.splice(problems.indexOf(traps[0]), 1);
  await page.click("#again");
  await started();
  const after = await liveness(session);
  report("after the error and Start again", after);
  assert(after.alive <= 1, `${after.alive} of ${after.started} program instances are still alive`);
  console.log(`ok: an error ends the program ("${text}"); a start after it leaves one alive`);
}

// A hidden page gets no animation frames: the program waits on timers, and the frames it asked
// for meanwhile must not keep it alive once it has ended.
async function hiddenRestartLeavesOneProgram(browser, session) {
  const {page, restarts, started} = session;
  const other = await browser.newPage();
  await other.bringToFront();
  assert.strictEqual(await page.evaluate(() => document.visibilityState), "hidden");
  await sleep(1000);
  await restarts["a picked file"]();
  await started();
  const hidden = await liveness(session);
  report("after a restart on the hidden page", hidden);
  await other.close();
  assert(hidden.alive <= 1, `${hidden.alive} of ${hidden.started} program instances are alive`);
  console.log("ok: on a hidden page too, a restart leaves one program alive");
}

async function restartsPage(browser, base) {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), "rotozoom-web-"));
  const bitmap = path.join(folder, "texture.bmp");
  fs.writeFileSync(bitmap, bitmapFile(2048, 2048));
  const session = await watchedDemoPage(browser, base, bitmap);
  await restartsLeaveOneProgram(session);
  await replacedProgramsAreFreed(session);
  await errorEndsProgram(session);
  await hiddenRestartLeavesOneProgram(browser, session);
  assert.deepStrictEqual(session.problems, []);
  await session.page.close();
  fs.rmSync(folder, {recursive: true});
}

async function showcasePage(browser, base) {
  const {page, problems} = await openPage(browser, `${base}/engine-showcase.html`);
  await page.waitForSelector("#canvas.gpu", {timeout: 10000});
  const seen = [];
  for (let i = 0; i < 8; ++i) {
    await sleep(1500);
    const screen = await screenPixels(page);
    fs.writeFileSync(path.join(shots, `showcase-${i}.png`), screen.png);
    seen.push({colours: colourCount(screen), data: screen.data});
  }
  for (let i = 1; i < seen.length; ++i)
    assert(!seen[i].data.equals(seen[i - 1].data), `screenshots ${i - 1} and ${i} are the same`);
  assert(seen.filter(shot => shot.colours > 8).length >= 6, "the scenes show too few colours");
  await looks.showcaseControls(page);
  await page.keyboard.press("Escape");
  assert.match(await endedText(page), /exit status 1/);
  assert.deepStrictEqual(problems, []);
  console.log("ok: the showcase's page runs through its scenes, with the looks and full " +
              "screen of the demo's; Escape ends it");
  await page.close();
}

// Windows' virtual-key codes, by their names in its headers.
const VK = {
  BACK: 0x08, TAB: 0x09, CLEAR: 0x0C, RETURN: 0x0D, SHIFT: 0x10, CONTROL: 0x11, MENU: 0x12,
  PAUSE: 0x13, CAPITAL: 0x14, KANA: 0x15, KANJI: 0x19, ESCAPE: 0x1B, CONVERT: 0x1C,
  NONCONVERT: 0x1D, SPACE: 0x20, PRIOR: 0x21, NEXT: 0x22, END: 0x23, HOME: 0x24, LEFT: 0x25,
  UP: 0x26, RIGHT: 0x27, DOWN: 0x28, SNAPSHOT: 0x2C, INSERT: 0x2D, DELETE: 0x2E, LWIN: 0x5B,
  RWIN: 0x5C, APPS: 0x5D, NUMPAD0: 0x60, MULTIPLY: 0x6A, ADD: 0x6B, SEPARATOR: 0x6C,
  SUBTRACT: 0x6D, DECIMAL: 0x6E, DIVIDE: 0x6F, F1: 0x70, NUMLOCK: 0x90, SCROLL: 0x91,
  OEM_1: 0xBA, OEM_PLUS: 0xBB, OEM_COMMA: 0xBC, OEM_MINUS: 0xBD, OEM_PERIOD: 0xBE, OEM_2: 0xBF,
  OEM_3: 0xC0, OEM_4: 0xDB, OEM_5: 0xDC, OEM_6: 0xDD, OEM_7: 0xDE, OEM_102: 0xE2,
};

// Each key as the page names it, what it types (which tells the keypad's Num Lock state), and
// the virtual key the program must get.
function expectedKeys() {
  const keys = [];
  for (const letter of "ABCDEFGHIJKLMNOPQRSTUVWXYZ")
    keys.push({code: `Key${letter}`, key: letter.toLowerCase(), vk: letter.charCodeAt(0)});
  for (const digit of "0123456789")
    keys.push({code: `Digit${digit}`, key: digit, vk: digit.charCodeAt(0)});
  for (let n = 1; n <= 24; ++n) keys.push({code: `F${n}`, key: `F${n}`, vk: VK.F1 + n - 1});
  const named = {
    Enter: VK.RETURN, Escape: VK.ESCAPE, Backspace: VK.BACK, Tab: VK.TAB, Space: VK.SPACE,
    Minus: VK.OEM_MINUS, Equal: VK.OEM_PLUS, BracketLeft: VK.OEM_4, BracketRight: VK.OEM_6,
    Backslash: VK.OEM_5, Semicolon: VK.OEM_1, Quote: VK.OEM_7, Backquote: VK.OEM_3,
    Comma: VK.OEM_COMMA, Period: VK.OEM_PERIOD, Slash: VK.OEM_2, IntlBackslash: VK.OEM_102,
    CapsLock: VK.CAPITAL, PrintScreen: VK.SNAPSHOT, ScrollLock: VK.SCROLL, Pause: VK.PAUSE,
    Insert: VK.INSERT, Home: VK.HOME, PageUp: VK.PRIOR, Delete: VK.DELETE, End: VK.END,
    PageDown: VK.NEXT, ArrowRight: VK.RIGHT, ArrowLeft: VK.LEFT, ArrowDown: VK.DOWN,
    ArrowUp: VK.UP, NumLock: VK.NUMLOCK, NumpadDivide: VK.DIVIDE, NumpadMultiply: VK.MULTIPLY,
    NumpadSubtract: VK.SUBTRACT, NumpadAdd: VK.ADD, NumpadEnter: VK.RETURN,
    NumpadComma: VK.SEPARATOR, ContextMenu: VK.APPS, IntlRo: VK.OEM_102, KanaMode: VK.KANA,
    IntlYen: VK.OEM_5, Convert: VK.CONVERT, NonConvert: VK.NONCONVERT, Lang3: VK.KANA,
    Lang4: VK.KANA, Lang5: VK.KANJI, ControlLeft: VK.CONTROL, ControlRight: VK.CONTROL,
    ShiftLeft: VK.SHIFT, ShiftRight: VK.SHIFT, AltLeft: VK.MENU, AltRight: VK.MENU,
    MetaLeft: VK.LWIN, MetaRight: VK.RWIN, OSLeft: VK.LWIN, OSRight: VK.RWIN,
  };
  for (const [code, vk] of Object.entries(named)) keys.push({code, key: "Unidentified", vk});
  // The keypad's digits and point type numbers with Num Lock on; off, they are the editing keys
  // marked on them.
  const keypad = [["Numpad0", "Insert", VK.INSERT], ["Numpad1", "End", VK.END],
                  ["Numpad2", "ArrowDown", VK.DOWN], ["Numpad3", "PageDown", VK.NEXT],
                  ["Numpad4", "ArrowLeft", VK.LEFT], ["Numpad5", "Clear", VK.CLEAR],
                  ["Numpad6", "ArrowRight", VK.RIGHT], ["Numpad7", "Home", VK.HOME],
                  ["Numpad8", "ArrowUp", VK.UP], ["Numpad9", "PageUp", VK.PRIOR]];
  keypad.forEach(([code, editingKey, editingVk], digit) => {
    keys.push({code, key: String(digit), vk: VK.NUMPAD0 + digit, numLock: "on"});
    keys.push({code, key: editingKey, vk: editingVk, numLock: "off"});
  });
  keys.push({code: "NumpadDecimal", key: ".", vk: VK.DECIMAL, numLock: "on"});
  keys.push({code: "NumpadDecimal", key: "Delete", vk: VK.DELETE, numLock: "off"});
  return keys;
}

async function keysPage(browser, base) {
  const {page, problems, lines} = await openPage(browser, `${base}/tests/keys.html`);
  const start = Date.now();
  while (!lines.includes("ready")) {
    assert(Date.now() - start < 10000, "the key program did not start");
    await sleep(20);
  }
  const keys = expectedKeys();
  // No key of the table goes unchecked, and no key checked here is missing from it.
  const known = new Set(lines.filter(line => line.startsWith("knows ")).map(line => line.slice(6)));
  const checked = new Set(keys.map(key => key.code));
  assert.deepStrictEqual([...known].filter(code => !checked.has(code)), [],
                         "keys of the table without an expected virtual key here");
  assert.deepStrictEqual([...checked].filter(code => !known.has(code)), [],
                         "keys expected here that the table does not know");

  const hex = vk => `0x${vk.toString(16).toUpperCase().padStart(2, "0")}`;
  const keyReports = () => lines.filter(line => /^(down|up) 0x/.test(line));
  // Presses and releases the key on the page; how many reports there were before.
  const press = async (code, key) => {
    const count = keyReports().length;
    await page.evaluate((code, key) => {
      for (const type of ["keydown", "keyup"])
        window.dispatchEvent(new KeyboardEvent(type, {code, key, bubbles: true, cancelable: true}));
    }, code, key);
    return count;
  };
  // The two reports after the first `count`.
  const reports = async (count, what) => {
    for (const start = Date.now(); keyReports().length < count + 2; await sleep(2))
      if (Date.now() - start > 5000) throw new Error(`no key message for ${what}`);
    return keyReports().slice(count, count + 2);
  };
  for (const {code, key, vk, numLock} of keys) {
    const what = `${code}${numLock ? `, Num Lock ${numLock}` : ""}`;
    const got = await reports(await press(code, key), what);
    assert.deepStrictEqual(got, [`down ${hex(vk)}`, `up ${hex(vk)}`], what);
  }
  // Names that are no key of the table reach no window: the next key's reports come first.
  for (const code of ["", "Unidentified", "F25", "F0", "Key", "KeyAA", "Fn", "Numpad"]) {
    const count = await press(code, "Unidentified");
    await press("KeyQ", "q");
    const got = await reports(count, `"${code}" and Q`);
    assert.deepStrictEqual(got, [`down ${hex(0x51)}`, `up ${hex(0x51)}`], `"${code}" arrived`);
  }
  // The page keeps its own keys from the program: only Alt arrives. (Alt+R twice: a recording
  // started and stopped; its file and the saved picture's are not kept.)
  const devtools = await browser.target().createCDPSession();
  await devtools.send("Browser.setDownloadBehavior", {behavior: "deny"});
  for (const code of ["KeyL", "Enter", "KeyP", "KeyR", "KeyR"]) {
    const count = keyReports().length;
    await page.keyboard.down("Alt");
    await page.keyboard.press(code);
    await page.keyboard.up("Alt");
    await press("KeyQ", "q");
    for (const start = Date.now(); keyReports().length < count + 4; await sleep(2))
      if (Date.now() - start > 5000) throw new Error(`no key message after Alt+${code}`);
    assert.deepStrictEqual(keyReports().slice(count), [`down ${hex(VK.MENU)}`, `up ${hex(VK.MENU)}`,
                                                       `down ${hex(0x51)}`, `up ${hex(0x51)}`],
                           `Alt+${code} and Q`);
  }
  assert.deepStrictEqual(problems, []);
  await devtools.send("Browser.setDownloadBehavior", {behavior: "default"});
  console.log(`ok: the page's ${keys.length} keys reach the program as their virtual keys; ` +
              "Alt+L, Alt+Enter, Alt+P and Alt+R stay the page's");
  await page.close();
}

(async () => {
  const server = await serve(path.resolve(webBuild));
  const base = `http://127.0.0.1:${server.address().port}`;
  const browser = await launchBrowser();
  try {
    await demoPage(browser, base);
    await pictures.anyPicture(browser, base, matchFrame, makeTexture, shots);
    await pictures.recordingOnDemoPage(browser, base, matchFrame, shots);
    await restartsPage(browser, base);
    await showcasePage(browser, base);
    await minimalPage(browser, base, shots);
    await keysPage(browser, base);
    await looks.looksOnStillPicture(browser, base, shots);
    await looks.plainLooksOnProcessor(browser, base, shots);
    await looks.slowLookOnPage(browser, base);
    await paceWithLongDrawing(browser, base);
    await looks.highDensityScreen(base, shots);
    await looks.fullScreenOnDemoPage(browser, base);
    await looks.refusedStorage(browser, base);
    await looks.fallbacks(browser, base, shots);
    await looks.lostContext(browser, base, shots);
    await looks.demoShots(browser, base, shots);
  } finally {
    await browser.close();
    server.close();
  }
})().catch(error => {
  console.log(`FAILED: ${error.message}`);
  process.exit(1);
});
