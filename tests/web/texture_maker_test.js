// The page's texture maker (texture-maker.js and .wasm in the web build) against make-texture:
// the same pixels give the same texture file, byte for byte, plain and dithered, on pictures
// made here with ImageMagick (photo-like, transparent parts, one pixel, 256 colours); and a
// picture it must refuse throws an Error saying why.
//   node texture_maker_test.js WEB_BUILD MAKE_TEXTURE
'use strict';
const {execFileSync} = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');

const [webBuild, makeTexture] = process.argv.slice(2).map((p) => path.resolve(p));
const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'texture-maker-'));
let failures = 0;
function check(ok, what) {
  console.log(`${ok ? 'ok' : 'FAILED'}: ${what}`);
  if (!ok) failures++;
}

// Pictures at 8 bits a channel, so that both readers get the same pixels.
const pictures = {
  'photo-like': ['-seed', '4', '-size', '300x200', 'plasma:fractal'],
  'transparent': ['-size', '180x240', 'xc:none', '-fill', 'rgba(200,40,40,0.6)', '-draw',
                   'circle 90,120 90,20', '-fill', '#2050a0', '-draw', 'rectangle 20,20 60,200'],
  'one pixel': ['-size', '1x1', 'xc:rgb(10,200,30)'],
  '256 colours': ['-seed', '8', '-size', '128x128', 'plasma:fractal', '-colors', '256'],
};

const script = path.resolve(webBuild, 'texture-maker.js');
// Node's fetch takes no file paths: the module gets its code handed over.
require(script)({wasmBinary: fs.readFileSync(script.replace(/js$/, 'wasm'))}).then((maker) => {
  for (const [name, recipe] of Object.entries(pictures)) {
    const png = path.join(folder, name.replace(/ /g, '-') + '.png');
    execFileSync('convert', [...recipe, '-depth', '8', png]);
    const [width, height] = execFileSync('identify', ['-format', '%w %h', png])
        .toString().split(' ').map(Number);
    const rgba = execFileSync('convert', [png, '-depth', '8', 'rgba:-'], {maxBuffer: 1 << 28});
    for (const dither of [false, true]) {
      const made = path.join(folder, 'made.bmp');
      execFileSync(makeTexture, ['--from', png, ...(dither ? ['--dither'] : []), made]);
      const native = fs.readFileSync(made);
      const page = maker.makeTexture(new Uint8ClampedArray(rgba), width, height, dither);
      check(page instanceof Uint8Array && Buffer.compare(Buffer.from(page), native) === 0,
            `${name}${dither ? ', dithered' : ''}: the page's texture is make-texture's ` +
            `(${page.length} and ${native.length} bytes)`);
    }
  }
  const refusals = [
    [new Uint8Array(0), 0, 0, /has nothing in it/],
    [new Uint8Array(4 * 99), 10, 10, /396 bytes of pixels for a picture of 10 x 10/],
    [new Uint8Array(4 * 101), 10, 10, /404 bytes of pixels for a picture of 10 x 10/],
    [new Uint8Array(4), 9000, 9000, /more than the 64 million pixels/],
    // Sizes that would wrap to a small whole number on their way into the module.
    [new Uint8Array(16), 2 ** 32 + 2, 2, /width of 4294967298 is not a number of pixels/],
    [new Uint8Array(16), 2, 2.5, /height of 2.5 is not a number of pixels/],
    [new Uint8Array(16), NaN, 2, /width of NaN is not/],
    [new Uint8Array(16), -2, -2, /a picture of -2 x -2 pixels has nothing in it/],
    [new Uint16Array(4), 1, 1, /not bytes/],
  ];
  for (const [rgba, width, height, pattern] of refusals) {
    let message = 'nothing thrown';
    try {
      maker.makeTexture(rgba, width, height, false);
    } catch (error) {
      message = error instanceof Error ? error.message : `not an Error: ${error}`;
    }
    check(pattern.test(message), `${width} x ${height} from ${rgba.length} bytes: ${message}`);
  }
  // Picture after picture: the module's memory stops growing after the first.
  const photo = new Uint8Array(4 * 1000 * 1000).map((_, i) => (i * 2654435761) >>> 24);
  maker.makeTexture(photo, 1000, 1000, false);
  const grown = maker.HEAPU8.buffer.byteLength;
  for (let i = 0; i < 40; ++i) maker.makeTexture(photo, 1000, 1000, i % 2 === 1);
  check(maker.HEAPU8.buffer.byteLength === grown,
        `40 pictures more: memory ${grown} bytes, then ${maker.HEAPU8.buffer.byteLength}`);
  // Still usable after a refusal.
  const after = maker.makeTexture(new Uint8Array([1, 2, 3, 255]), 1, 1, false);
  check(after.length === 17462, 'a texture made after the refusals');
  fs.rmSync(folder, {recursive: true, force: true});
  process.exit(failures > 0 ? 1 : 0);
}, (error) => {
  console.log(`FAILED: the module did not start: ${error}`);
  process.exit(1);
});
