// The pages in a real browser (Debian's Chromium, headless, driven by puppeteer-core), as a
// visitor uses them:
//  - the demo's page loads with no console error and shows the turning texture, the FPS box at
//    the top-left; a frame read back from the canvas is one the demo draws on Linux;
//  - Escape ends the program and the page says so;
//  - a dropped file that is not a bitmap restarts the program on it, which shows the
//    file-not-found box with its text; OK ends it with status 1;
//  - the showcase's page runs through its scenes.
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

async function openPage(browser, url) {
  const page = await browser.newPage();
  await page.setViewport({width: 800, height: 640});
  const problems = [];
  page.on("console", message => {
    if (message.type() === "error") problems.push(`console error: ${message.text()}`);
  });
  page.on("pageerror", error => problems.push(`page error: ${error.message}`));
  await page.goto(url);
  return {page, problems};
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
  } finally {
    await browser.close();
    server.close();
  }
})().catch(error => {
  console.log(`FAILED: ${error.message}`);
  process.exit(1);
});
