// The page's saved picture, as Print Screen saves one on the desktop: the exact picture the
// program shows, 8 bits a pixel, as an indexed PNG with its whole palette, whatever the look,
// downloaded by the browser as rotozoom-DATE-TIME.png. Also the names and the download that
// the recordings share.
"use strict";

const rotozoomFiles = {
  // rotozoom-YYYYMMDD-HHMMSS plus the extension, in local time, as the desktop names its
  // screenshots and recordings. (The browser settles a name already taken in its downloads.)
  captureName(when, extension) {
    const two = n => String(n).padStart(2, "0");
    const date = `${when.getFullYear()}${two(when.getMonth() + 1)}${two(when.getDate())}`;
    const time = `${two(when.getHours())}${two(when.getMinutes())}${two(when.getSeconds())}`;
    return `rotozoom-${date}-${time}${extension}`;
  },

  // Hands the bytes to the browser as a download under `name`.
  download(blob, name) {
    const url = URL.createObjectURL(blob);
    const link = document.createElement("a");
    link.href = url;
    link.download = name;
    link.style.display = "none";
    document.body.append(link);
    link.click();
    link.remove();
    // The download has taken its copy once the click's task is through.
    setTimeout(() => URL.revokeObjectURL(url), 10000);
  },

  // An indexed PNG of {width, height, pixels (one byte each, rows packed), palette (256 x red,
  // green, blue)}: IHDR, the palette's 256 entries as PLTE, the rows unfiltered in one zlib
  // stream (the browser's own deflate) as IDAT.
  async indexedPng({width, height, pixels, palette}) {
    const header = new Uint8Array(13);
    const fields = new DataView(header.buffer);
    fields.setUint32(0, width);
    fields.setUint32(4, height);
    header.set([8, 3, 0, 0, 0], 8);  // 8 bits, palette colour, deflate, no filter, no interlace
    const rows = new Uint8Array((width + 1) * height);
    for (let y = 0; y < height; ++y)
      rows.set(pixels.subarray(y * width, (y + 1) * width), y * (width + 1) + 1);
    const compressed = new Blob([rows]).stream().pipeThrough(new CompressionStream("deflate"));
    const data = new Uint8Array(await new Response(compressed).arrayBuffer());
    const signature = new Uint8Array([0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a]);
    return new Blob([signature, this.pngChunk("IHDR", header), this.pngChunk("PLTE", palette),
                     this.pngChunk("IDAT", data), this.pngChunk("IEND", new Uint8Array(0))],
                    {type: "image/png"});
  },

  // Length, type, data, and the CRC-32 of the type and data.
  pngChunk(type, data) {
    const chunk = new Uint8Array(12 + data.length);
    const fields = new DataView(chunk.buffer);
    fields.setUint32(0, data.length);
    for (let i = 0; i < 4; ++i) chunk[4 + i] = type.charCodeAt(i);
    chunk.set(data, 8);
    fields.setUint32(8 + data.length, this.crc32(chunk.subarray(4, 8 + data.length)));
    return chunk;
  },

  crcTable: null,
  crc32(bytes) {
    if (!this.crcTable) {
      this.crcTable = new Uint32Array(256);
      for (let n = 0; n < 256; ++n) {
        let c = n;
        for (let k = 0; k < 8; ++k) c = c & 1 ? 0xedb88320 ^ (c >>> 1) : c >>> 1;
        this.crcTable[n] = c >>> 0;
      }
    }
    let crc = 0xffffffff;
    for (const byte of bytes) crc = this.crcTable[(crc ^ byte) & 0xff] ^ (crc >>> 8);
    return (crc ^ 0xffffffff) >>> 0;
  },

  // Saves what the running program shows now: {name, saved}, where `saved` settles when the
  // file is handed to the browser (or rejects with why not, as where the browser has no
  // deflate); null when nothing is shown (no program, or no picture yet). The picture is taken
  // at once; the file follows when it is written.
  savePicture(program) {
    const picture = program && program.takePicture ? program.takePicture() : null;
    if (!picture || picture.width === 0) return null;
    const name = this.captureName(new Date(), ".png");
    return {name, saved: this.indexedPng(picture).then(blob => this.download(blob, name))};
  },
};
