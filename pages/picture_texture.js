// A visitor's picture as the program's texture.bmp. An 8-bit bitmap goes to the program as it
// is, as a texture.bmp the program reads itself. Any other picture the browser can decode (a
// JPEG, a PNG, a GIF's first frame, a WebP, an SVG with a size, a bitmap of another depth) is
// decoded to RGBA here and made into the texture by the same C++ as make-texture --from, in
// WebAssembly (texture-maker.js, loaded at the first such picture): the largest centred
// square, 128 x 128, 256 colours, no dither. A file the browser cannot decode (no picture, or
// one cut short) goes to the program, which shows its file-not-found box. A picture that is decoded but refused (too
// large, no size) is refused with the reason, and the running program goes on as it was.
"use strict";

const rotozoomTextures = {
  // Where the texture maker is: beside this script.
  folder: new URL(".", document.currentScript ? document.currentScript.src : location.href).href,
  maker: null,  // the texture maker's module, once loaded (a promise)
  // The largest picture taken, as make-texture --from takes it (64 Mi pixels, 8192 x 8192):
  // its size is read before it is decoded, since the decoded pixels alone would take 4 bytes
  // each (a 20000 x 20000 picture, 1.6 GB).
  maxPixels: 2 ** 26,
  // The program is given at most this much of a file that is no picture: it shows its box on
  // the first bytes as well as on all of them.
  unreadableBytes: 1 << 16,

  // Whether the bytes are an 8-bit Windows bitmap: "BM", and 8 bits a pixel in the information
  // header that follows the 14-byte file header.
  isEightBitBitmap(bytes) {
    return bytes.length >= 30 && bytes[0] === 0x42 && bytes[1] === 0x4d && bytes[28] === 8 &&
           bytes[29] === 0;
  },

  // The module's memory grows to hold a picture's pixels and never shrinks: after a picture
  // that grew it past this, the module is let go (the next picture makes a fresh one) rather
  // than kept at that size for the page's life (an 8192 x 8192 photo leaves 313 MiB).
  keptMakerBytes: 64 * 2 ** 20,

  loadMaker() {
    if (!this.maker) {
      const loaded = typeof create_texture_maker === "function" ? Promise.resolve()
                     : new Promise((resolve, reject) => {
        const script = document.createElement("script");
        script.src = new URL("texture-maker.js", this.folder).href;
        script.onload = resolve;
        script.onerror = () => reject(new Error("texture-maker.js did not load"));
        document.head.append(script);
      });
      this.maker = loaded.then(() => create_texture_maker());
      this.maker.catch(() => { this.maker = null; });  // tried again next time
    }
    return this.maker;
  },

  // The picture as an image element, loaded but not yet decoded (the browser reads its size
  // from its header and decodes its pixels only when they are drawn); null when the browser
  // cannot read it. An SVG is read as one only with its type, which a file may lack.
  async image(file) {
    const svg = /\.svgz?$/i.test(file.name) && file.type !== "image/svg+xml";
    const url = URL.createObjectURL(svg ? new Blob([file], {type: "image/svg+xml"}) : file);
    const image = new Image();
    try {
      const loaded = await new Promise(resolve => {
        image.onload = () => resolve(true);
        image.onerror = () => resolve(false);
        image.src = url;
      });
      if (!loaded) return null;
      image.isSvg = svg || file.type === "image/svg+xml";
      return image;
    } finally {
      URL.revokeObjectURL(url);
    }
  },

  // The browser's decoding of the picture to RGBA, in sRGB as it is shown.
  async decode(file, image) {
    let bitmap;
    try {
      bitmap = await createImageBitmap(file, {premultiplyAlpha: "none"});
    } catch (error) {
      // An SVG, which only an image element draws; one without a size of its own is refused.
      bitmap = await createImageBitmap(image, {premultiplyAlpha: "none"});
    }
    try {
      const canvas = new OffscreenCanvas(bitmap.width, bitmap.height);
      const context = canvas.getContext("2d", {colorSpace: "srgb"});
      if (!context)
        throw new Error(`the browser gives no canvas of ${bitmap.width} x ${bitmap.height}`);
      context.drawImage(bitmap, 0, 0);
      return context.getImageData(0, 0, bitmap.width, bitmap.height);
    } finally {
      bitmap.close();
    }
  },

  // What to do with a visitor's file: {bytes} to give the program as texture.bmp, or {refused}
  // saying why the picture is not taken.
  async fromFile(file) {
    const name = file.name;
    const head = new Uint8Array(await file.slice(0, this.unreadableBytes).arrayBuffer());
    if (this.isEightBitBitmap(head)) return {bytes: new Uint8Array(await file.arrayBuffer())};
    const image = await this.image(file);
    if (!image) {
      console.log(`texture: the browser cannot read ${name} as a picture`);
      return {bytes: head};
    }
    const width = image.naturalWidth, height = image.naturalHeight;
    if (width * height > this.maxPixels)
      return {refused: `${width} x ${height} is larger than the 8192 x 8192 (64 Mi pixels) taken`};
    let pixels;
    try {
      pixels = await this.decode(file, image);
    } catch (error) {
      // An SVG drawn at no size is refused; a picture whose header was read but whose pixels
      // cannot be (a file cut short) is one the browser cannot decode.
      if (image.isSvg) return {refused: `the browser cannot draw it (${error.message})`};
      console.log(`texture: the browser cannot decode ${name} (${error.message})`);
      return {bytes: head};
    }
    let maker;
    try {
      maker = await this.loadMaker();
      const bytes = maker.makeTexture(pixels.data, pixels.width, pixels.height, false);
      console.log(`texture: ${name} (${pixels.width} x ${pixels.height}) made into a texture`);
      return {bytes};
    } catch (error) {
      return {refused: error.message};
    } finally {
      if (maker && maker.HEAPU8.buffer.byteLength > this.keptMakerBytes) this.maker = null;
    }
  },
};
