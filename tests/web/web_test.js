// The pages in a real browser (Debian's Chromium, headless, driven by puppeteer-core), as a
// visitor uses them:
//  - the demo's page loads with no console error and shows the turning texture, the FPS box at
//    the top-left; a frame read back from the canvas is one the demo draws on Linux;
//  - Escape ends the program and the page says so;
//  - a dropped file that is not a bitmap restarts the program on it, which shows the
//    file-not-found box with its text; OK ends it with status 1;
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

// The page, with what goes wrong on it and every line of its console.
async function openPage(browser, url) {
  const page = await browser.newPage();
  await page.setViewport({width: 800, height: 640});
  const problems = [];
  const lines = [];
  page.on("console", message => {
    if (message.type() === "error") problems.push(`console error: ${message.text()}`);
    lines.push(message.text());
  });
  page.on("pageerror", error => problems.push(`page error: ${error.message}`));
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
