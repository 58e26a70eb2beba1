// What a page shows, read from the browser's own screenshots (the page as composited for the
// visitor, in device pixels; a WebGL canvas keeps nothing to read back once shown), and the
// looks' pixels checked against the still picture of still_picture.cpp, computed here on our
// own: where each look puts the picture, and what each screen pixel must then be.
"use strict";
const {execFileSync} = require("child_process");

// A screenshot of the page's viewport, or of `clip` (CSS pixels): {width, height, data, png},
// three bytes a pixel (red first), rows top first, and the PNG itself. ImageMagick decodes it.
async function screenPixels(page, clip) {
  const png = Buffer.from(await page.screenshot({type: "png", clip}));
  const width = png.readUInt32BE(16), height = png.readUInt32BE(20);  // the IHDR chunk
  const data = execFileSync("convert", ["png:-", "-depth", "8", "rgb:-"],
                            {input: png, maxBuffer: 4 * width * height + 1024});
  if (data.length !== width * height * 3) throw new Error(`a ${width} x ${height} screenshot ` +
                                                          `decoded to ${data.length} bytes`);
  return {width, height, data, png};
}

function pixelAt(screen, x, y) {
  const at = (y * screen.width + x) * 3;
  return [screen.data[at], screen.data[at + 1], screen.data[at + 2]];
}

function colourCount(screen) {
  const colours = new Set();
  for (let i = 0; i < screen.data.length; i += 3)
    colours.add((screen.data[i] << 16) | (screen.data[i + 1] << 8) | screen.data[i + 2]);
  return colours.size;
}

// The still picture: 320 x 240; its pattern above 160 rows of colours that differ from every
// neighbour's, and four flat bands below (grey, white, red, blue, 80 pixels wide each).
const still = {width: 320, height: 240, patternRows: 160, bandWidth: 80};
const bandColours = [[96, 96, 96], [255, 255, 255], [255, 0, 0], [0, 0, 255]];
function stillColour(x, y) {
  if (y >= still.patternRows) return bandColours[Math.floor(x / still.bandWidth)];
  const index = (x * 5 + y * 11) % 252;
  return [(index * 73) & 255, (index * 151 + 64) & 255, (index * 29 + 128) & 255];
}

// Where each look puts a picture on a drawable, in whole pixels: `integer` at the largest whole
// factor that fits, centred; `sharp` and `crt` on the largest area of the picture's shape.
function lookRectangle(look, pictureWidth, pictureHeight, width, height) {
  if (look === "integer") {
    const factor = Math.min(Math.floor(width / pictureWidth), Math.floor(height / pictureHeight));
    const w = pictureWidth * factor, h = pictureHeight * factor;
    return {x: Math.floor((width - w) / 2), y: Math.floor((height - h) / 2), width: w, height: h};
  }
  if (width * pictureHeight >= height * pictureWidth) {
    const w = Math.floor(height * pictureWidth / pictureHeight);
    return {x: Math.floor((width - w) / 2), y: 0, width: w, height};
  }
  const h = Math.floor(width * pictureHeight / pictureWidth);
  return {x: 0, y: Math.floor((height - h) / 2), width, height: h};
}

// The picture pixels a screen pixel's span [p, p + 1) covers along one axis, with their shares:
// one with all of it (an inner pixel), or two where it straddles their edge.
function covered(p, start, length, texels) {
  const from = (p - start) * texels, to = (p - start + 1) * texels;  // in texels x length
  const first = Math.floor(from / length), last = Math.ceil(to / length) - 1;
  if (first === last) return [[first, 1]];
  const beyond = (to - (first + 1) * length) / texels;  // the share past the edge, in pixels
  return [[first, 1 - beyond], [first + 1, beyond]];
}

// Faults of the still picture drawn in `rect` of the screen with solid pixels whose edges blend
// over at most one screen pixel (the sharp look; at whole factors the integer look, whose every
// screen pixel is inner): every screen pixel inside one picture pixel is exactly its colour; one
// on the edge of two (or four) is their mix by coverage, within `tolerance`, and within their
// range; outside the rectangle all is black. A list of the first faults and their count.
function solidPixelFaults(screen, rect, tolerance) {
  const faults = [];
  let count = 0;
  const fault = text => {
    if (faults.length < 8) faults.push(text);
    ++count;
  };
  for (let y = 0; y < screen.height; ++y) {
    const inY = y >= rect.y && y < rect.y + rect.height;
    const rows = inY ? covered(y, rect.y, rect.height, still.height) : null;
    for (let x = 0; x < screen.width; ++x) {
      const got = pixelAt(screen, x, y);
      if (!inY || x < rect.x || x >= rect.x + rect.width) {
        if (got.some(value => value !== 0)) fault(`(${x}, ${y}) outside the picture is ${got}`);
        continue;
      }
      const columns = covered(x, rect.x, rect.width, still.width);
      const parts = [];
      for (const [row, rowShare] of rows)
        for (const [column, columnShare] of columns)
          parts.push({colour: stillColour(column, row), share: rowShare * columnShare});
      if (parts.length === 1) {
        if (got.some((value, c) => value !== parts[0].colour[c]))
          fault(`(${x}, ${y}) inside a picture pixel is ${got}, not ${parts[0].colour}`);
        continue;
      }
      for (let c = 0; c < 3; ++c) {
        const values = parts.map(part => part.colour[c]);
        const mixed = parts.reduce((sum, part) => sum + part.share * part.colour[c], 0);
        if (got[c] < Math.min(...values) - 1 || got[c] > Math.max(...values) + 1 ||
            Math.abs(got[c] - mixed) > tolerance) {
          fault(`(${x}, ${y}) on an edge is ${got}, not the mix ${mixed.toFixed(1)} of ` +
                `${values} in channel ${c}`);
          break;
        }
      }
    }
  }
  return {faults, count};
}

// The CRT look's line structure over the still picture's grey band: each screen row's mean
// brightness there, and the period (in screen rows, from 2 to 8) at which that varies most,
// with the variation's amplitude relative to the mean. (Rows sample the structure: a period p
// below 2 would look the same as p / (p - 1) above it.)
function scanlinePeriod(screen, rect) {
  const scale = rect.width / still.width;
  const left = Math.ceil(rect.x + 4 * scale), right = Math.floor(rect.x + 76 * scale);
  const top = Math.ceil(rect.y + (still.patternRows + 4) * rect.height / still.height);
  const bottom = Math.floor(rect.y + (still.height - 4) * rect.height / still.height);
  const means = [];
  for (let y = top; y < bottom; ++y) {
    let sum = 0;
    for (let x = left; x < right; ++x) sum += pixelAt(screen, x, y).reduce((a, b) => a + b, 0);
    means.push(sum / (right - left) / 3);
  }
  const mean = means.reduce((a, b) => a + b, 0) / means.length;
  let best = {period: 0, amplitude: 0};
  for (let period = 2; period <= 8; period += 0.005) {
    let re = 0, im = 0;
    means.forEach((value, i) => {
      re += (value - mean) * Math.cos(2 * Math.PI * i / period);
      im += (value - mean) * Math.sin(2 * Math.PI * i / period);
    });
    const amplitude = 2 * Math.hypot(re, im) / means.length / mean;
    if (amplitude > best.amplitude) best = {period, amplitude};
  }
  return best;
}

module.exports = {screenPixels, pixelAt, colourCount, still, stillColour, lookRectangle,
                  solidPixelFaults, scanlinePeriod};
