// How the pages show the picture (view.js and the web screen), in headless Chromium with WebGL2
// on its software renderer:
//  - on the still picture (still_picture.cpp), in full screen: `integer` gives exactly the
//    picture's pixels as whole squares with black bars; `sharp` gives solid picture pixels whose
//    edges blend over at most one screen pixel (at a factor of 4.5; at 4, the integer look's
//    pixels exactly); `crt` shows beam lines at the period of screen lines to a beam line; at
//    1920 x 1080 and 1280 x 960;
//  - a first visit starts in sharp; Alt+L cycles the looks with the name shown for a moment and
//    the selector follows; the selector chooses too; each look is in effect again after a
//    reload;
//  - the canvas's drawing buffer is its displayed size in device pixels, at a device pixel ratio
//    of 2 too;
//  - the button and Alt+Enter enter and leave full screen; a page left in full screen comes back
//    in it at the visitor's first click;
//  - a storage that throws leaves the page working, remembering nothing;
//  - without WebGL2 (Chromium's --disable-webgl), and where the presenter cannot run on it, the
//    picture is on a 2D canvas at its own size, and the console says so once;
//  - a WebGL2 context lost while the program runs: the picture goes on on a 2D stand-in canvas
//    (the still picture exactly, the demo moving), the console and the notice say so once;
//    restored, the look is back on the GPU, every pixel as expected; a look chosen while lost
//    is said to wait for the context;
//  - where WebGL runs on the processor (SwiftShader is such), every look is drawn on the
//    processor onto a 2D canvas over the WebGL2 one, with WebGL's pixels (crt within two
//    levels), and the console names the renderer and says so; with the page's hook
//    rotozoomWebGlOnly every look is drawn with WebGL, with the same pixels again; a program
//    ending there (returning from WinMain) is said to have ended, and started again only its
//    own 2D canvas is over its canvas;
//  - a look that cannot keep 60 frames a second (the page made slow by the test's own work on
//    each of its frames) is said once on the console and over the picture, naming the look
//    that costs less; not on a normal run, nor for the seconds the tab was hidden;
//  - the showcase's page has the same controls and keys.
// Screenshots of each look, of the still picture and of the demo, go to SHOTS.
"use strict";
const assert = require("assert");
const fs = require("fs");
const {execFileSync} = require("child_process");
const path = require("path");
const {sleep, launchBrowser, openPage, waitForLine, endedText} = require("./pages");
const {screenPixels, colourCount, lookRectangle, solidPixelFaults, scanlinePeriod, still,
       stillColour} = require("./screen_pixels");

// Presses a key with Alt held.
async function altKey(page, code) {
  await page.keyboard.down("Alt");
  await page.keyboard.press(code);
  await page.keyboard.up("Alt");
}

// The page's view: its look (chosen, selected, remembered), the notice shown, full screen
// (the element, remembered), and the canvas (how it is drawn, its drawing buffer, and its
// displayed size in device pixels as measured by the page and as the layout gives it).
function view(page) {
  return page.evaluate(() => {
    const canvas = document.getElementById("canvas");
    const box = canvas.getBoundingClientRect();
    const selector = document.getElementById("look");
    const notice = document.querySelector("#notice.shown");
    return {
      look: rotozoomView.look,
      selected: selector ? selector.value : null,
      stored: rotozoomView.setting("look"),
      notice: notice ? notice.textContent : null,
      fullScreen: document.fullscreenElement ? document.fullscreenElement.id : null,
      storedFullScreen: rotozoomView.setting("fullscreen"),
      gpu: canvas.classList.contains("gpu"),
      buffer: [canvas.width, canvas.height],
      measured: [rotozoomView.canvasPixels.width, rotozoomView.canvasPixels.height],
      layout: [box.width * devicePixelRatio, box.height * devicePixelRatio],
    };
  });
}

// Waits until the program has drawn at the canvas's displayed size (`size` in device pixels
// when given), and checks that size against the layout's. The page measures the canvas a
// moment after the layout changes (leaving full screen): until then its measure is the old
// size, which the program's buffer may already match; the wait is for the new layout's.
async function fitted(page, size) {
  await page.waitForFunction(size => {
    const canvas = document.getElementById("canvas");
    const {width, height} = rotozoomView.canvasPixels;
    const box = canvas.getBoundingClientRect();
    const laidOut = Math.abs(box.width * devicePixelRatio - width) <= 1 &&
                    Math.abs(box.height * devicePixelRatio - height) <= 1;
    return canvas.classList.contains("gpu") && laidOut && canvas.width === width &&
           canvas.height === height && (!size || (width === size[0] && height === size[1]));
  }, {timeout: 10000, polling: 50}, size);
  const now = await view(page);
  assert(now.layout.every((value, i) => Math.abs(value - now.buffer[i]) <= 1),
         `the canvas's drawing buffer is ${now.buffer}, shown at ${now.layout} device pixels`);
  await sleep(300);  // and the picture drawn there for certain
  return now;
}

async function inFullScreen(page, width, height) {
  await page.waitForFunction(() => document.fullscreenElement &&
                                   document.fullscreenElement.id === "stage", {timeout: 5000});
  return fitted(page, [width, height]);
}

async function outOfFullScreen(page) {
  await page.waitForFunction(() => !document.fullscreenElement, {timeout: 5000});
  return fitted(page);
}

// Checks the look's pixels on the still picture over the whole viewport (the stage in full
// screen) and keeps the screenshot; says what it found.
async function checkLook(page, look, shot) {
  // The look's name, or a slow look's line (4 s).
  await page.waitForSelector("#notice.shown", {hidden: true, timeout: 8000});
  const screen = await screenPixels(page);
  fs.writeFileSync(shot, screen.png);
  const rect = lookRectangle(look, 320, 240, screen.width, screen.height);
  const where = `${screen.width} x ${screen.height}`;
  if (look === "crt") {
    // Two beam lines to each of the 240 lines of the mode (VGA scanned them twice).
    const expected = rect.height / 480;
    const {period, amplitude} = scanlinePeriod(screen, rect);
    assert(Math.abs(period - expected) < 0.02 && amplitude > 0.05,
           `crt at ${where}: lines every ${period.toFixed(3)} screen lines, ` +
           `${(amplitude * 100).toFixed(1)} % deep; ${expected} expected`);
    return `crt at ${where}: lines every ${period.toFixed(2)} screen lines, ` +
           `${(amplitude * 100).toFixed(0)} % deep`;
  }
  const {faults, count} = solidPixelFaults(screen, rect, 3);
  assert.deepStrictEqual(faults, [], `${look} at ${where}: ${count} faults`);
  return `${look} at ${where}: ${rect.width} x ${rect.height} at (${rect.x}, ${rect.y}), ` +
         "every pixel as expected";
}

async function looksOnStillPicture(browser, base, shots) {
  const session = await openPage(browser, `${base}/tests/still.html`, null,
                                 {width: 1920, height: 1080});
  const {page, problems} = session;
  let starts = 0;
  const started = () => waitForLine(session, "ready", ++starts);
  const reload = async () => {
    await page.reload();
    await started();
  };
  await started();
  await page.evaluate(() => localStorage.clear());
  await reload();
  let now = await view(page);
  assert.deepStrictEqual([now.look, now.selected, now.stored], ["sharp", "sharp", null],
                         "a first visit's look");
  await page.click("#fullscreen");
  await inFullScreen(page, 1920, 1080);
  const found = [await checkLook(page, "sharp", path.join(shots, "still-sharp-1920x1080.png"))];

  // Alt+L: the next look, its name shown; the selector follows and the choice is remembered.
  for (const look of ["crt", "integer", "sharp"]) {
    await altKey(page, "KeyL");
    now = await view(page);
    assert.deepStrictEqual([now.look, now.selected, now.stored, now.notice],
                           [look, look, look, look], `Alt+L to ${look}`);
    await page.waitForSelector("#notice.shown", {hidden: true, timeout: 2000});
    if (look !== "sharp")
      found.push(await checkLook(page, look, path.join(shots, `still-${look}-1920x1080.png`)));
  }
  console.log("ok: Alt+L cycles the looks, the selector follows, the name shows for a moment");

  // Each look chosen with the selector starts in effect after a reload, full screen with it.
  await page.setViewport({width: 1280, height: 960});
  for (const look of ["integer", "sharp", "crt"]) {
    await page.select("#look", look);
    now = await view(page);
    assert.deepStrictEqual([now.look, now.stored, now.notice], [look, look, look]);
    await reload();
    now = await view(page);
    assert.deepStrictEqual([now.look, now.selected, now.fullScreen, now.storedFullScreen],
                           [look, look, null, "on"], `after a reload in ${look}`);
    await page.mouse.click(5, 5);  // the visitor's first click brings full screen back
    await inFullScreen(page, 1280, 960);
    found.push(await checkLook(page, look, path.join(shots, `still-${look}-1280x960.png`)));
  }
  for (const line of found) console.log(`ok: ${line}`);
  console.log("ok: each look chosen with the selector is in effect after a reload");

  // At two device pixels to a CSS pixel (emulated), the canvas has twice the pixels each way.
  await page.setViewport({width: 640, height: 480, deviceScaleFactor: 2});
  await page.select("#look", "integer");
  await reload();
  now = await fitted(page);
  assert.strictEqual(now.buffer[0], 1280, "the canvas's width out of full screen");
  await page.mouse.click(5, 5);
  await inFullScreen(page, 1280, 960);
  console.log(`ok: at 2 device pixels to a CSS pixel (emulated), ` +
              await checkLook(page, "integer", path.join(shots, "still-integer-dpr2.png")));
  assert.deepStrictEqual(problems, []);
  await page.close();
}

// The largest difference of any channel of any pixel between two screenshots of one size.
function largestDifference(one, two) {
  const read = file => execFileSync("convert", [file, "-depth", "8", "rgb:-"],
                                    {maxBuffer: 64 * 1024 * 1024});
  const a = read(one), b = read(two);
  assert.strictEqual(a.length, b.length, `${one} and ${two} differ in size`);
  let largest = 0;
  for (let i = 0; i < a.length; ++i) largest = Math.max(largest, Math.abs(a[i] - b[i]));
  return largest;
}

// The looks on the processor's 2D canvas, and every look on WebGL with the page's hook: the
// same pixels either way (the CRT look within two levels), full screen at 1920 x 1080 (sharp at
// 4.5 to a picture pixel, integer at 4 with bars).
async function plainLooksOnProcessor(browser, base, shots) {
  const onlyWebGl = () => { window.rotozoomWebGlOnly = true; };
  for (const webGlOnly of [false, true]) {
    const session = await openPage(browser, `${base}/tests/still.html`,
                                   webGlOnly ? onlyWebGl : null, {width: 1920, height: 1080});
    const {page, problems, lines} = session;
    await waitForLine(session, "ready");
    const said = lines.filter(line => line.startsWith("web screen: presenting on the GPU path"));
    assert.strictEqual(said.length, 1, `the path said ${said.length} times`);
    assert.match(said[0], /SwiftShader/, "the renderer's own name");
    assert.strictEqual(said[0].includes("drawn there onto a 2D canvas"), !webGlOnly, said[0]);
    await page.click("#fullscreen");
    await inFullScreen(page, 1920, 1080);
    const how = webGlOnly ? "WebGL only" : "plain looks on the processor";
    for (const look of ["integer", "sharp", "crt"]) {
      await page.select("#look", look);
      // Once the look is on the screen (checkLook waits for its notice to go, seconds after
      // the program took it), the 2D canvas is there for every look.
      const found = await checkLook(page, look,
                                    path.join(shots, `still-${look}-${webGlOnly ? "webgl" : "processor"}.png`));
      const copied = await page.$eval("#stage", stage => stage.querySelector("#copy") !== null);
      assert.strictEqual(copied, !webGlOnly, `${how}: ${look} on a 2D canvas`);
      console.log(`ok: ${how}: ${found}`);
    }
    if (!webGlOnly) {
      // The program ends (Escape: its WinMain returns) while the 2D canvas shows its picture;
      // started again, only the new program's 2D canvas is over its canvas.
      await page.select("#look", "sharp");
      await page.waitForSelector("#copy", {timeout: 5000});
      await page.keyboard.press("Escape");
      assert.match(await endedText(page), /exit status 1/);
      await page.click("#again");
      await waitForLine(session, "ready", 2);
      await page.waitForFunction(() => rotozoomPage.program.copyCanvas !== null, {timeout: 5000});
      assert.deepStrictEqual(
          await page.evaluate(() => [...document.querySelectorAll("#stage canvas")].map(
              canvas => canvas === rotozoomPage.program.copyCanvas ? "new copy" : canvas.id)),
          ["canvas", "new copy"], "the canvases over the program's after a restart");
      console.log("ok: the program ended while its picture was on the 2D canvas; started " +
                  "again, only the new program's 2D canvas is shown");
    }
    assert.deepStrictEqual(problems, []);
    await page.close();
  }
  for (const [look, levels] of [["integer", 0], ["sharp", 1], ["crt", 2]]) {
    const apart = largestDifference(path.join(shots, `still-${look}-processor.png`),
                                    path.join(shots, `still-${look}-webgl.png`));
    assert(apart <= levels, `${look}: the 2D canvas and WebGL ${apart} levels apart`);
    console.log(`ok: ${look} on the 2D canvas is WebGL's within ${apart} level(s)`);
  }
}

// The page made slow: 30 ms of the test's own work on each of its frames, as a look too costly
// for the machine would take.
function slowDown(page, on) {
  return page.evaluate(on => {
    window.slowFrames = on;
    const busy = () => {
      if (!window.slowFrames) return;
      for (const until = performance.now() + 30; performance.now() < until;) {
      }
      requestAnimationFrame(busy);
    };
    if (on) requestAnimationFrame(busy);
  }, on);
}

async function slowLookOnPage(browser, base) {
  const {page, problems, lines} = await openPage(browser, `${base}/rotozoom.html`, null,
                                                 {width: 1280, height: 1040});
  await page.evaluate(() => localStorage.clear());
  await page.reload();
  await page.waitForSelector("#canvas.gpu", {timeout: 10000});
  const slowLines = () => lines.filter(line => / look cannot keep 60 Hz here/.test(line));
  await sleep(7000);
  assert.deepStrictEqual(slowLines(), [], "a normal run in sharp said its look is slow");
  // The tab hidden a moment, again and again (another tab in front): the browser gives a hidden
  // page no animation frames, and the seconds it spent hidden are not the look's.
  const other = await browser.newPage();
  for (let flip = 0; flip < 4; ++flip) {
    await other.bringToFront();
    await sleep(1200);
    await page.bringToFront();
    await sleep(300);
  }
  await other.close();
  await sleep(1000);
  assert.deepStrictEqual(slowLines(), [], "the seconds the tab was hidden were taken as slow");
  await slowDown(page, true);
  const said = "page: the sharp look cannot keep 60 Hz here: integer costs less";
  await waitForLine({lines}, said, 1, 10000);
  assert.strictEqual(await lastNotice(page), said.slice(6));
  assert.strictEqual(await page.evaluate(() => rotozoomView.look), "sharp", "the look changed");
  await sleep(4000);
  assert.deepStrictEqual(slowLines(), [said], "said more than once");
  await page.select("#look", "crt");
  await waitForLine({lines}, "page: the crt look cannot keep 60 Hz here: sharp costs less", 1,
                    10000);
  await slowDown(page, false);
  assert.deepStrictEqual(problems, []);
  await page.close();
  console.log(`ok: a page too slow for its look says so once, naming the cheaper look ` +
              `("${said.slice(6)}"); a normal run in sharp says nothing`);
}

// A screen with two device pixels to a CSS pixel, as a high-density display has (the browser's
// own, not emulated): the canvas has twice the pixels each way, as the browser counts them.
async function highDensityScreen(base, shots) {
  const browser = await launchBrowser(["--force-device-scale-factor=2"], {width: 800, height: 700});
  try {
    const session = await openPage(browser, `${base}/tests/still.html`, null, null);
    const {page, problems} = session;
    await waitForLine(session, "ready");
    await page.select("#look", "integer");
    const windowed = await fitted(page);
    const cssWidth = await page.evaluate(() => innerWidth);
    assert.strictEqual(windowed.buffer[0], 2 * cssWidth, "the canvas's width in device pixels");
    await page.click("#fullscreen");
    await page.waitForFunction(() => document.fullscreenElement, {timeout: 5000});
    const css = await page.evaluate(() => [innerWidth, innerHeight]);
    await inFullScreen(page, 2 * css[0], 2 * css[1]);
    console.log(`ok: on a screen of 2 device pixels to a CSS pixel (${css.join(" x ")} CSS ` +
                "pixels), " +
                await checkLook(page, "integer", path.join(shots, "still-integer-density2.png")));
    assert.deepStrictEqual(problems, []);
  } finally {
    await browser.close();
  }
}

async function fullScreenOnDemoPage(browser, base) {
  const session = await openPage(browser, `${base}/rotozoom.html`, null,
                                 {width: 1280, height: 960});
  const {page, problems} = session;
  await page.evaluate(() => localStorage.clear());
  await page.reload();
  let now = await fitted(page);
  assert.deepStrictEqual([now.fullScreen, now.storedFullScreen], [null, null]);
  const windowed = now.buffer;
  assert(windowed[1] < 960, `the canvas is ${windowed} before full screen`);
  await page.click("#fullscreen");
  now = await inFullScreen(page, 1280, 960);
  assert.strictEqual(now.storedFullScreen, "on");
  await altKey(page, "Enter");
  now = await outOfFullScreen(page);
  assert.deepStrictEqual([now.storedFullScreen, now.buffer], ["off", windowed]);
  await altKey(page, "Enter");
  now = await inFullScreen(page, 1280, 960);
  assert.strictEqual(now.storedFullScreen, "on");
  console.log("ok: the button and Alt+Enter enter and leave full screen; the canvas fills it");

  await page.reload();
  await page.waitForSelector("#canvas.gpu", {timeout: 10000});
  now = await view(page);
  assert.deepStrictEqual([now.fullScreen, now.storedFullScreen], [null, "on"]);
  await page.mouse.click(5, 5);
  await inFullScreen(page, 1280, 960);
  await altKey(page, "Enter");
  now = await outOfFullScreen(page);
  assert.strictEqual(now.storedFullScreen, "off");
  await page.reload();
  await page.waitForSelector("#canvas.gpu", {timeout: 10000});
  await page.mouse.click(5, 5);
  await sleep(500);
  assert.strictEqual((await view(page)).fullScreen, null, "full screen came back, not chosen");
  console.log("ok: a page left in full screen comes back in it at the first click, else not");
  assert.deepStrictEqual(problems, []);
  await page.close();
}

// The demo in each look, full screen at two sizes, for people to look at.
async function demoShots(browser, base, shots) {
  const {page, problems} = await openPage(browser, `${base}/rotozoom.html`);
  await page.waitForSelector("#canvas.gpu", {timeout: 10000});
  for (const [width, height] of [[1920, 1080], [1280, 960]]) {
    await page.setViewport({width, height});
    await page.click("#fullscreen");
    await inFullScreen(page, width, height);
    for (const look of ["integer", "sharp", "crt"]) {
      await page.select("#look", look);
      await page.waitForSelector("#notice.shown", {hidden: true, timeout: 5000});
      const screen = await screenPixels(page);
      fs.writeFileSync(path.join(shots, `demo-${look}-${width}x${height}.png`), screen.png);
      assert(colourCount(screen) > 20, `the demo in ${look} at ${width} x ${height}`);
    }
    await altKey(page, "Enter");
    await outOfFullScreen(page);
  }
  assert.deepStrictEqual(problems, []);
  console.log("ok: the demo in each look, full screen at 1920 x 1080 and 1280 x 960, in SHOTS");
  await page.close();
}

async function refusedStorage(browser, base) {
  const session = await openPage(browser, `${base}/tests/still.html`, () => {
    Object.defineProperty(window, "localStorage", {
      configurable: true,
      get() { throw new DOMException("The storage is switched off", "SecurityError"); },
    });
  });
  const {page, problems} = session;
  await waitForLine(session, "ready");
  await altKey(page, "KeyL");
  const now = await view(page);
  assert.deepStrictEqual([now.look, now.selected, now.stored], ["crt", "crt", null]);
  assert.deepStrictEqual(problems, []);
  console.log("ok: with a storage that throws, the page works and remembers nothing");
  await page.close();
}

// The canvas's pixels as a 2D canvas has them: width, height, RGBA bytes.
async function canvas2dPixels(page) {
  const {width, height, data} = await page.$eval("#canvas", canvas => {
    const image = canvas.getContext("2d").getImageData(0, 0, canvas.width, canvas.height);
    return {width: image.width, height: image.height, data: Array.from(image.data)};
  });
  const rgb = Buffer.alloc(width * height * 3);
  for (let i = 0; i < width * height; ++i) rgb.set(data.slice(i * 4, i * 4 + 3), i * 3);
  return {width, height, data: rgb};
}

// The demo on a 2D canvas, the look's notice saying it needs WebGL2, and the console's one line
// on why.
async function demoOn2dCanvas(browser, base, prepare, why, shot) {
  const session = await openPage(browser, `${base}/rotozoom.html`, prepare);
  const {page, problems, lines} = session;
  await page.waitForFunction(() => document.querySelector("#canvas").width === 320,
                             {timeout: 10000});
  await sleep(1000);
  const pixels = await canvas2dPixels(page);
  assert.strictEqual(pixels.height, 240);
  assert(colourCount(pixels) > 20, "a picture of almost one colour");
  assert.strictEqual((await view(page)).gpu, false);
  await altKey(page, "KeyL");
  assert.match((await view(page)).notice, /needs WebGL2/);
  await page.screenshot({path: shot});
  const said = lines.filter(line => /^web screen: .*2D canvas/.test(line));
  assert.strictEqual(said.length, 1, `the console says it ${said.length} times`);
  assert.match(said[0], why);
  await page.keyboard.press("Escape");
  assert.match(await endedText(page), /exit status 1/);
  assert.deepStrictEqual(problems, []);
  await page.close();
  return said[0];
}

async function fallbacks(browser, base, shots) {
  // A WebGL2 context whose shaders never compile: the presenter cannot start.
  const failingShaders = () => {
    const status = WebGL2RenderingContext.prototype.getShaderParameter;
    WebGL2RenderingContext.prototype.getShaderParameter = function(shader, name) {
      return name === this.COMPILE_STATUS ? false : status.call(this, shader, name);
    };
  };
  const failed = await demoOn2dCanvas(browser, base, failingShaders, /presenter cannot run/,
                                      path.join(shots, "demo-2d-shaders-fail.png"));
  console.log("ok: where the presenter cannot run, a fresh 2D canvas shows the picture " +
              `("${failed}")`);
  const noWebgl = await launchBrowser(["--disable-webgl"]);
  try {
    const none = await demoOn2dCanvas(noWebgl, base, null, /no WebGL2 context/,
                                      path.join(shots, "demo-2d-no-webgl.png"));
    console.log(`ok: without WebGL, a 2D canvas shows the picture ("${none}")`);
  } finally {
    await noWebgl.close();
  }
}

// Loses (or restores) the WebGL2 context of the program's canvas, as a GPU reset would.
function loseContext(page, lose) {
  return page.evaluate(lose => {
    if (lose) {
      const context = document.getElementById("canvas").getContext("webgl2");
      window.contextLoser = context.getExtension("WEBGL_lose_context");
      window.contextLoser.loseContext();
    } else {
      window.contextLoser.restoreContext();
    }
  }, lose);
}

// The stand-in canvas's pixels, as canvas2dPixels reads the program's.
// The notice's last text, shown now or a moment ago (it stays 1.2 s).
const lastNotice = page => page.$eval("#notice", notice => notice.textContent);

async function standInPixels(page) {
  await page.waitForFunction(() => {
    const standIn = document.getElementById("stand-in");
    return standIn && standIn.width === 320 && standIn.height === 240;
  }, {timeout: 5000, polling: 50});
  const data = await page.$eval("#stand-in", canvas => Array.from(
      canvas.getContext("2d").getImageData(0, 0, canvas.width, canvas.height).data));
  const rgb = Buffer.alloc(320 * 240 * 3);
  for (let i = 0; i < 320 * 240; ++i) rgb.set(data.slice(i * 4, i * 4 + 3), i * 3);
  return {width: 320, height: 240, data: rgb};
}

// Lost, the picture is on the stand-in, which the screen shows (not the flat colour of a lost
// context), the console and notice saying so once; restored, the stand-in goes and the look is
// back on the GPU. Twice over, as a GPU may reset again.
async function lostContext(browser, base, shots) {
  const session = await openPage(browser, `${base}/tests/still.html`, null,
                                 {width: 1280, height: 960});
  const {page, problems, lines} = session;
  await waitForLine(session, "ready");
  await page.select("#look", "integer");
  await page.click("#fullscreen");
  await inFullScreen(page, 1280, 960);
  const lost = /^web screen: the WebGL2 context was lost/;
  const back = /^web screen: the WebGL2 context is back/;
  for (let round = 1; round <= 2; ++round) {
    await loseContext(page, true);
    const pixels = await standInPixels(page);
    const faults = [];
    for (let y = 0; y < still.height; ++y)
      for (let x = 0; x < still.width; ++x) {
        const at = (y * still.width + x) * 3;
        const want = stillColour(x, y);
        if (want.some((value, c) => pixels.data[at + c] !== value))
          faults.push(`(${x}, ${y}) is ${[...pixels.data.subarray(at, at + 3)]}, not ${want}`);
      }
    assert.deepStrictEqual(faults.slice(0, 4), [], `the stand-in: ${faults.length} faults`);
    const shown = await screenPixels(page);
    fs.writeFileSync(path.join(shots, `still-context-lost-${round}.png`), shown.png);
    assert(colourCount(shown) > 200, `the screen shows ${colourCount(shown)} colours while lost`);
    assert.match(await lastNotice(page), /context was lost/);
    assert.strictEqual(lines.filter(line => lost.test(line)).length, round, "said once a loss");

    await loseContext(page, false);
    await page.waitForSelector("#stand-in", {hidden: true, timeout: 5000});
    assert.match(await lastNotice(page), /context is back: integer/);
    assert.strictEqual(lines.filter(line => back.test(line)).length, round, "said once a return");
    await fitted(page, [1280, 960]);
    await checkLook(page, "integer", path.join(shots, `still-context-back-${round}.png`));
  }

  // Lost again at once on its return, before the program's next look at it (a GPU that resets
  // twice): the program must not start the presenter on the context lost again, nor take what
  // that start left behind for a fault of the next return. The next return brings the look back.
  await loseContext(page, true);
  await standInPixels(page);
  await page.evaluate(() => document.getElementById("canvas").addEventListener(
      "webglcontextrestored", () => window.contextLoser.loseContext(), {once: true}));
  await loseContext(page, false);
  await page.waitForFunction(() => {
    const context = document.getElementById("canvas").getContext("webgl2");
    return context.isContextLost();
  }, {timeout: 5000, polling: 50});
  await sleep(500);  // the program's turns: the second loss's event, its polls
  assert(await page.$("#stand-in"), "the stand-in went while the context was lost");
  await loseContext(page, false);
  await page.waitForSelector("#stand-in", {hidden: true, timeout: 5000});
  await checkLook(page, "integer", path.join(shots, "still-context-back-3.png"));
  assert.deepStrictEqual(lines.filter(line => /cannot run/.test(line)), [],
                         "a start on the context lost again said the presenter cannot run");
  assert.deepStrictEqual(problems, []);
  await page.close();
  console.log("ok: a lost WebGL2 context leaves the still picture on a 2D stand-in, every pixel " +
              "exact, said once; restored, the integer look is back; twice over, and after a loss at once on a return");

  // The demo goes on moving on the stand-in, and on the GPU again once restored.
  const demo = await openPage(browser, `${base}/rotozoom.html`);
  await demo.page.waitForSelector("#canvas.gpu", {timeout: 10000});
  await sleep(1000);
  await loseContext(demo.page, true);
  const one = await standInPixels(demo.page);
  await sleep(400);
  const two = await standInPixels(demo.page);
  assert(colourCount(one) > 20 && !one.data.equals(two.data), "the demo stands still while lost");
  // A look chosen meanwhile is not shown yet, and the notice says so; round the three back to
  // the first, which later pages find remembered.
  for (let i = 0; i < 3; ++i) {
    await altKey(demo.page, "KeyL");
    const look = await demo.page.evaluate(() => rotozoomView.look);
    assert.strictEqual(await lastNotice(demo.page), `${look} (once the GPU's context is back)`);
  }
  await loseContext(demo.page, false);
  await demo.page.waitForSelector("#stand-in", {hidden: true, timeout: 5000});
  await sleep(500);
  const a = await screenPixels(demo.page);
  await sleep(400);
  const b = await screenPixels(demo.page);
  assert(colourCount(a) > 20 && !a.data.equals(b.data), "the demo stands still once restored");
  await demo.page.keyboard.press("Escape");
  assert.match(await endedText(demo.page), /exit status 1/);
  assert.deepStrictEqual(demo.problems, []);
  await demo.page.close();
  console.log("ok: the demo goes on moving through a lost WebGL2 context and after its return");
}

// The showcase's page has the look selector, the full-screen button and the keys.
async function showcaseControls(page) {
  const before = await view(page);
  await altKey(page, "KeyL");
  const after = await view(page);
  assert.notStrictEqual(after.look, before.look);
  assert.deepStrictEqual([after.selected, after.notice], [after.look, after.look]);
  await page.click("#fullscreen");
  const {width, height} = page.viewport();
  await inFullScreen(page, width, height);
  await altKey(page, "Enter");
  await outOfFullScreen(page);
}

module.exports = {looksOnStillPicture, plainLooksOnProcessor, slowLookOnPage, highDensityScreen, fullScreenOnDemoPage, demoShots,
                  refusedStorage, fallbacks, lostContext, showcaseControls, inFullScreen};
