// The demo's page with a visitor's own picture, its saved picture and its recording, in
// headless Chromium:
//  - a JPEG and a PNG, picked and then dropped, are made into the texture by the texture maker
//    in WebAssembly and the program runs on it: its picture is a frame the demo draws on Linux
//    on that texture, not on the sample's; the PNG's texture is the very file
//    `make-texture --from` writes from it; a corrupt picture shows the file-not-found box;
//  - Save picture (the button, and Alt+P) downloads rotozoom-DATE-TIME.png, a 320 x 240 indexed
//    PNG with a 256-colour PLTE, whose picture (read back by ImageMagick) is a Linux frame;
//  - a 3-second recording decodes (ffprobe, ffmpeg) to about 180 frames at 60 frames a second,
//    1280 x 960, with each picture pixel's centre within a lossy codec's tolerance of a palette
//    colour and the picture so snapped a Linux frame; with the encoder's queue cut to one
//    picture, the dropped ticks are counted and the video still lasts as long as the recording.
//   tests use: node web_test.js (which calls these) WEB_BUILD MATCH_FRAME SHOTS [MAKE_TEXTURE]
"use strict";
const assert = require("assert");
const {execFileSync} = require("child_process");
const fs = require("fs");
const os = require("os");
const path = require("path");
const {sleep, openPage, waitForLine} = require("./pages");

// The downloads of the page's browser go to a fresh folder; returns it.
async function downloadsInto(browser) {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), "rotozoom-downloads-"));
  const session = await browser.target().createCDPSession();
  await session.send("Browser.setDownloadBehavior", {behavior: "allow", downloadPath: folder});
  return folder;
}

// The next finished download whose name matches `pattern`, not among `seen`.
async function download(folder, pattern, seen = [], timeout = 30000) {
  for (const start = Date.now(); Date.now() - start < timeout; await sleep(100)) {
    const names = fs.readdirSync(folder).filter(name => pattern.test(name) && !seen.includes(name));
    if (names.length) return path.join(folder, names[0]);
  }
  throw new Error(`no download matching ${pattern} in ${folder}`);
}

// Which of the demo's Linux frames a 320 x 240 RGB picture is, on `texture` (a file): the
// matcher's line; throws when none matches exactly.
function linuxFrame(matchFrame, texture, rgb) {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), "rotozoom-match-"));
  try {
    fs.copyFileSync(texture, path.join(folder, "texture.bmp"));
    fs.writeFileSync(path.join(folder, "picture.rgb"), rgb);
    return execFileSync(matchFrame, ["picture.rgb"], {cwd: folder}).toString().trim();
  } catch (error) {
    throw new Error(`no Linux frame: ${error.stdout || error.message}`);
  } finally {
    fs.rmSync(folder, {recursive: true});
  }
}

// The PNG's chunks, by type, in order.
function pngChunks(file) {
  const bytes = fs.readFileSync(file);
  assert.strictEqual(bytes.subarray(0, 8).toString("hex"), "89504e470d0a1a0a", "no PNG signature");
  const chunks = [];
  for (let at = 8; at < bytes.length;) {
    const length = bytes.readUInt32BE(at);
    chunks.push({type: bytes.subarray(at + 4, at + 8).toString("latin1"),
                 data: bytes.subarray(at + 8, at + 8 + length)});
    at += 12 + length;
  }
  return chunks;
}

// Saves the picture with the button, then with Alt+P; each download is a 320 x 240 indexed
// PNG with 256 palette entries whose picture is a Linux frame on `texture`.
async function savedPictures(page, folder, texture, matchFrame, shots) {
  const seen = [];
  for (const how of ["the button", "Alt+P"]) {
    if (how === "the button") {
      await page.click("#save-picture");
    } else {
      await page.keyboard.down("Alt");
      await page.keyboard.press("KeyP");
      await page.keyboard.up("Alt");
    }
    const file = await download(folder, /^rotozoom-\d{8}-\d{6}( \(\d+\))?\.png$/, seen);
    seen.push(path.basename(file));
    const chunks = pngChunks(file);
    const header = chunks[0].data;
    assert.deepStrictEqual(
        [chunks[0].type, header.readUInt32BE(0), header.readUInt32BE(4), header[8], header[9]],
        ["IHDR", 320, 240, 8, 3], "not a 320 x 240 indexed PNG of 8 bits");
    const palette = chunks.find(chunk => chunk.type === "PLTE");
    assert(palette && palette.data.length === 256 * 3, "no 256-entry PLTE");
    // ImageMagick reads it back, as any viewer would.
    const rgb = execFileSync("convert", [file, "-depth", "8", "rgb:-"], {maxBuffer: 1 << 24});
    const matched = linuxFrame(matchFrame, texture, rgb);
    fs.copyFileSync(file, path.join(shots, `saved-picture-${seen.length}.png`));
    console.log(`ok: ${how} saves ${path.basename(file)}, a 320 x 240 indexed PNG with a ` +
                `256-colour PLTE, which is a Linux frame: ${matched}`);
  }
}

// The demo's pictures as the test's fixtures: a photo-like JPEG (gradients and soft shapes)
// and a screenshot-like PNG (flat colours and text), with ImageMagick; the PNG without any
// colour or gamma chunk, so that the browser and SDL_image read the same pixels.
function pictureFiles(folder) {
  const jpeg = path.join(folder, "photo.jpg");
  execFileSync("convert", ["-size", "640x427", "gradient:#fa8-#136", "-fill", "#2c7",
                           "-draw", "circle 320,213 320,80", "-blur", "0x8", "-quality", "90", jpeg]);
  const png = path.join(folder, "screen.png");
  execFileSync("convert", ["-size", "400x300", "xc:#d4d0c8", "-fill", "#0a246a",
                           "-draw", "rectangle 0,0 400,40", "-fill", "#c33",
                           "-draw", "rectangle 40,80 200,260", "-fill", "#000",
                           "-font", "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
                           "-pointsize", "24", "-draw", "text 220,150 'rotozoom'", "-strip",
                           "-define", "png:exclude-chunks=all", `PNG24:${png}`]);
  // A JPEG cut off inside its header: no browser can decode it.
  const corrupt = path.join(folder, "broken.jpg");
  fs.writeFileSync(corrupt, fs.readFileSync(jpeg).subarray(0, 60));
  return {jpeg, png, corrupt};
}

// The page's texture: the bytes the program was last started on.
async function pageTexture(page) {
  return Buffer.from(await page.evaluate(() => Array.from(rotozoomPage.texture)));
}

async function anyPicture(browser, base, matchFrame, makeTexture, shots) {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), "rotozoom-pictures-"));
  const files = pictureFiles(folder);
  const downloads = await downloadsInto(browser);
  const {page, problems, lines} = await openPage(browser, `${base}/rotozoom.html`);
  await page.waitForSelector("#canvas.gpu", {timeout: 10000});
  const sample = await pageTexture(page);
  const picker = await page.$("#texture");
  const ways = {
    picked: file => picker.uploadFile(file),
    dropped: file => page.evaluate(async (bytes, name) => {
      const transfer = new DataTransfer();
      transfer.items.add(new File([new Uint8Array(bytes)], name));
      document.querySelector("#stage").dispatchEvent(
          new DragEvent("drop", {dataTransfer: transfer, bubbles: true, cancelable: true}));
    }, Array.from(fs.readFileSync(file)), path.basename(file)),
  };
  for (const [way, give] of Object.entries(ways)) {
    for (const file of [files.jpeg, files.png]) {
      const name = path.basename(file);
      const line = `texture: ${name} (${file === files.jpeg ? "640 x 427" : "400 x 300"}) ` +
                   "made into a texture";
      const before = lines.filter(text => text === line).length;
      await give(file);
      await waitForLine({lines}, line, before + 1);
      await sleep(1500);
      const texture = await pageTexture(page);
      assert(!texture.equals(sample), `${name} ${way}: the program runs on the sample texture`);
      const textureFile = path.join(folder, `texture-${way}-${name}.bmp`);
      fs.writeFileSync(textureFile, texture);
      if (file === files.png && makeTexture) {
        const native = path.join(folder, "native.bmp");
        fs.rmSync(native, {force: true});
        execFileSync(makeTexture, ["--from", file, native]);
        assert(fs.readFileSync(native).equals(texture),
               "the page's texture from the PNG is not make-texture --from's");
      }
      const picture = await page.evaluate(() => {
        const taken = rotozoomPage.program.takePicture();
        const rgb = new Uint8Array(taken.width * taken.height * 3);
        taken.pixels.forEach((index, i) => rgb.set(taken.palette.subarray(index * 3, index * 3 + 3), i * 3));
        return Array.from(rgb);
      });
      const matched = linuxFrame(matchFrame, textureFile, Buffer.from(picture));
      assert(await page.$("#box[open]") === null, `${name} ${way}: a box is shown`);
      await page.screenshot({path: path.join(shots, `picture-${way}-${name}.png`)});
      console.log(`ok: ${name} ${way} runs on its texture (${matched})` +
                  (file === files.png && makeTexture ? "; the texture is make-texture --from's" : ""));
    }
  }
  // The saved picture, on the last texture.
  await savedPictures(page, downloads, path.join(folder, "texture-dropped-screen.png.bmp"),
                      matchFrame, shots);
  // A picture the browser cannot decode shows the program's own box.
  await picker.uploadFile(files.corrupt);
  await page.waitForSelector("#box[open]", {timeout: 10000});
  const message = await page.$eval("#box-text", element => element.textContent);
  assert.strictEqual(message, "texture.bmp ファイルが見つかりません");
  await page.keyboard.press("Enter");
  console.log("ok: a corrupt JPEG shows the file-not-found box");
  assert.deepStrictEqual(problems, []);
  await page.close();
  fs.rmSync(folder, {recursive: true});
  fs.rmSync(downloads, {recursive: true});
}

module.exports = {anyPicture, downloadsInto, download, linuxFrame};
