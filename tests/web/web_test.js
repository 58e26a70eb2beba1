// The pages in a real browser (Debian's Chromium, headless, driven by puppeteer-core), as a
// visitor uses them:
//  - the demo's page loads with no console error and shows the turning texture, the FPS box at
//    the top-left; a frame read back from the canvas is one the demo draws on Linux;
//  - Escape ends the program and the page says so;
//  - a dropped file that is not a bitmap restarts the program on it, which shows the
//    file-not-found box with its text; OK ends it with status 1;
//  - restarts (a picked file, a dropped file, "Start again") leave only the running program
//    alive: ended instances are collected, the page's memory returns near its value after the
//    first start, one set of listeners remains and a key press runs one handler; so does an
//    error that ends the program, and a restart while the page is hidden;
//  - the showcase's page runs through its scenes;
//  - every key of the key table, by the page's name for it (KeyboardEvent.code), reaches a
//    program's window as the virtual key Windows gives it, the keypad's with Num Lock on and off.
// Screenshots go to SHOTS for people to look at.
//   node web_test.js WEB_BUILD MATCH_FRAME SHOTS
"use strict";
const assert = require("assert");
const {execFileSync} = require("child_process");
const fs = require("fs");
const http = require("http");
const os = require("os");
const path = require("path");
const puppeteer = require("puppeteer-core");

const [webBuild, matchFrame, shots] = process.argv.slice(2);
fs.mkdirSync(shots, {recursive: true});
const sleep = ms => new Promise(resolve => setTimeout(resolve, ms));
const types = {".html": "text/html", ".js": "text/javascript", ".wasm": "application/wasm",
               ".css": "text/css", ".bmp": "image/bmp"};

// Any static file server will do; this one is the test's own, on the loopback address.
function serve(folder) {
  const server = http.createServer((request, response) => {
    const file = path.join(folder, path.normalize(decodeURIComponent(request.url.split("?")[0])));
    if (!file.startsWith(folder) || !fs.existsSync(file) || fs.statSync(file).isDirectory()) {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, {"Content-Type": types[path.extname(file)] || "application/octet-stream"});
    fs.createReadStream(file).pipe(response);
  });
  return new Promise(resolve => server.listen(0, "127.0.0.1", () => resolve(server)));
}

// The page, with what goes wrong on it and every line of its console. `prepare`, when given,
// runs in the page before its own scripts.
async function openPage(browser, url, prepare) {
  const page = await browser.newPage();
  await page.setViewport({width: 800, height: 640});
  const problems = [];
  const lines = [];
  page.on("console", message => {
    if (message.type() === "error") problems.push(`console error: ${message.text()}`);
    lines.push(message.text());
  });
  page.on("pageerror", error => problems.push(`page error: ${error.message}`));
  if (prepare) await page.evaluateOnNewDocument(prepare);
  await page.goto(url);
  return {page, problems, lines};
}


// The canvas's pixels as the page has them: width, height, RGBA bytes.
async function canvasPixels(page) {
  const {width, height, data} = await page.$eval("#canvas", canvas => {
    const image = canvas.getContext("2d").getImageData(0, 0, canvas.width, canvas.height);
    return {width: image.width, height: image.height, data: Array.from(image.data)};
  });
  return {width, height, data: Uint8Array.from(data)};
}

function colourCount(pixels) {
  const colours = new Set();
  for (let i = 0; i < pixels.data.length; i += 4)
    colours.add((pixels.data[i] << 16) | (pixels.data[i + 1] << 8) | pixels.data[i + 2]);
  return colours.size;
}

async function endedText(page) {
  await page.waitForSelector("#ended.shown", {timeout: 5000});
  return page.$eval("#ended-text", element => element.textContent);
}

async function demoPage(browser, base) {
  const {page, problems} = await openPage(browser, `${base}/rotozoom.html`);
  await page.waitForFunction(() => document.querySelector("#canvas").width === 320);
  await sleep(1500);
  const one = await canvasPixels(page);
  await page.screenshot({path: path.join(shots, "demo-page.png")});
  await sleep(400);
  const two = await canvasPixels(page);
  assert.strictEqual(one.width, 320);
  assert.strictEqual(one.height, 240);
  assert(colourCount(one) > 20 && colourCount(two) > 20, "a picture of almost one colour");
  assert(!Buffer.from(one.data).equals(Buffer.from(two.data)), "the picture does not move");
  for (const x of [0, 2]) {  // the FPS box's paper below the text's baseline
    const at = (15 * 320 + x) * 4;
    assert(one.data[at] > 230 && one.data[at + 1] > 230 && one.data[at + 2] > 200,
           `no white FPS box at (${x}, 15)`);
  }
  console.log("ok: the demo's page shows the turning texture with the FPS box");

  // A frame from the canvas is one of the frames the demo draws on Linux.
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), "rotozoom-web-"));
  fs.copyFileSync(path.join(webBuild, "texture.bmp"), path.join(folder, "texture.bmp"));
  const rgb = Buffer.alloc(320 * 240 * 3);
  for (let i = 0; i < 320 * 240; ++i) {
    rgb[i * 3] = two.data[i * 4];
    rgb[i * 3 + 1] = two.data[i * 4 + 1];
    rgb[i * 3 + 2] = two.data[i * 4 + 2];
  }
  fs.writeFileSync(path.join(folder, "canvas.rgb"), rgb);
  const matched = execFileSync(matchFrame, ["canvas.rgb"], {cwd: folder}).toString().trim();
  fs.rmSync(folder, {recursive: true});
  console.log(`ok: the canvas shows a Linux frame: ${matched}`);

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
// of a keydown listener on the window is counted: the programs are the only ones listening.
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
    if (this === window && type === "keydown" && typeof listener === "function") {
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
  // A start is done once its instance is made and the page shows no end; then it reads its
  // texture and draws. (Polled on a timer: a hidden page has no animation frames.)
  session.started = async () => {
    ++session.starts;
    await page.waitForFunction(count => startedPrograms.length === count &&
                                         !document.querySelector("#ended.shown"),
                               {timeout: 10000, polling: 50}, session.starts);
    await sleep(700);
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
  const programListeners = [["window", "keydown"], ["window", "keyup"], ["canvas", "mousedown"],
                            ["canvas", "mouseup"], ["canvas", "mousemove"]];
  const faults = [
    last.started !== session.starts &&
        `${last.started} instances announced themselves for ${session.starts} starts`,
    last.alive > 1 && `${last.alive} of ${last.started} program instances are still alive`,
    last.js >= first.js + margin &&
        `the JavaScript heap grew from ${megabytes(first.js)} to ${megabytes(last.js)}`,
    last.wasm >= first.wasm + margin &&
        `the WebAssembly memory grew from ${megabytes(first.wasm)} to ${megabytes(last.wasm)}`,
    runs !== 1 && `a key press ran ${runs} keydown handlers`,
    ...programListeners.map(([on, type]) => listeners[on][type] !== 1 &&
                            `${listeners[on][type] || 0} ${type} listeners on the ${on}`),
  ].filter(fault => fault);
  assert.deepStrictEqual(faults, []);
  console.log(`ok: ${session.starts} starts leave one program and its listeners, memory within ` +
              `${megabytes(margin)} of the first start's on the same texture; a key press runs ` +
              "one handler");
}

// An error the program does not catch ends it as its exit does. Here it traps as it puts its
// next frame on the canvas: a call through a null function pointer.
async function errorEndsProgram(session) {
  const {page, problems, started} = session;
  await page.evaluate(() => {
    const program = startedPrograms[startedPrograms.length - 1].deref();
    const {width, height} = program.canvas;
    program.canvas = {width, height, getContext: () => program.dynCall_vi(0, 0)};
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
  await errorEndsProgram(session);
  await hiddenRestartLeavesOneProgram(browser, session);
  assert.deepStrictEqual(session.problems, []);
  await session.page.close();
  fs.rmSync(folder, {recursive: true});
}

async function showcasePage(browser, base) {
  const {page, problems} = await openPage(browser, `${base}/showcase.html`);
  await page.waitForFunction(() => document.querySelector("#canvas").width === 640);
  const seen = [];
  for (let i = 0; i < 8; ++i) {
    await sleep(1500);
    const pixels = await canvasPixels(page);
    await page.screenshot({path: path.join(shots, `showcase-${i}.png`)});
    seen.push({colours: colourCount(pixels), data: Buffer.from(pixels.data)});
  }
  for (let i = 1; i < seen.length; ++i)
    assert(!seen[i].data.equals(seen[i - 1].data), `screenshots ${i - 1} and ${i} are the same`);
  assert(seen.filter(shot => shot.colours > 8).length >= 6, "the scenes show too few colours");
  await page.keyboard.press("Escape");
  assert.match(await endedText(page), /exit status 1/);
  assert.deepStrictEqual(problems, []);
  console.log("ok: the showcase's page runs through its scenes; Escape ends it");
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
  assert.deepStrictEqual(problems, []);
  console.log(`ok: the page's ${keys.length} keys reach the program as their virtual keys`);
  await page.close();
}

(async () => {
  const server = await serve(path.resolve(webBuild));
  const base = `http://127.0.0.1:${server.address().port}`;
  const browser = await puppeteer.launch({
    executablePath: "/usr/bin/chromium",
    headless: true,
    args: ["--no-sandbox", "--disable-gpu", "--disable-background-networking",
           "--disable-component-update", "--no-first-run", "--disable-sync", "--disable-quic"],
  });
  try {
    await demoPage(browser, base);
    await restartsPage(browser, base);
    await showcasePage(browser, base);
    await keysPage(browser, base);
  } finally {
    await browser.close();
    server.close();
  }
})().catch(error => {
  console.log(`FAILED: ${error.message}`);
  process.exit(1);
});
