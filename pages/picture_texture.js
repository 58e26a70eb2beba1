// A visitor's picture as the program's texture.bmp. An 8-bit bitmap goes to the program as it
// is, as a texture.bmp the program reads itself. Any other picture the browser can decode (a
// JPEG, a PNG, a GIF, a WebP, a bitmap of another depth) is decoded to RGBA here and made into
// the texture by the same C++ as make-texture --from, in WebAssembly (texture-maker.js, loaded
// at the first such picture): the largest centred square, 128 x 128, 256 colours, no dither.
// A file the browser cannot decode goes to the program as it is, which shows its
// file-not-found box.
"use strict";

const rotozoomTextures = {
  // Where the texture maker is: beside this script.
  folder: new URL(".", document.currentScript ? document.currentScript.src : location.href).href,
  maker: null,  // the texture maker's module, once loaded (a promise)

  // Whether the bytes are an 8-bit Windows bitmap: "BM", and 8 bits a pixel in the information
  // header that follows the 14-byte file header.
  isEightBitBitmap(bytes) {
    return bytes.length >= 30 && bytes[0] === 0x42 && bytes[1] === 0x4d && bytes[28] === 8 &&
           bytes[29] === 0;
  },

  loadMaker() {
    if (!this.maker) {
      this.maker = new Promise((resolve, reject) => {
        const script = document.createElement("script");
        script.src = new URL("texture-maker.js", this.folder).href;
        script.onload = () => create_texture_maker().then(resolve, reject);
        script.onerror = () => reject(new Error("texture-maker.js did not load"));
        document.head.append(script);
      });
      this.maker.catch(() => { this.maker = null; });  // tried again next time
    }
    return this.maker;
  },

  // The browser's decoding of the picture to RGBA, in sRGB as it is shown; null when it cannot.
  async decode(bytes) {
    let image;
    try {
      image = await createImageBitmap(new Blob([bytes]), {premultiplyAlpha: "none"});
    } catch (error) {
      return null;
    }
    try {
      const canvas = new OffscreenCanvas(image.width, image.height);
      const context = canvas.getContext("2d", {colorSpace: "srgb"});
      context.drawImage(image, 0, 0);
      return context.getImageData(0, 0, image.width, image.height);
    } finally {
      image.close();
    }
  },

  // The bytes to give the program as texture.bmp for a file's bytes.
  async fromFile(bytes, name) {
    if (this.isEightBitBitmap(bytes)) return bytes;
    const pixels = await this.decode(bytes);
    if (!pixels) {
      console.log(`texture: the browser cannot read ${name} as a picture`);
      return bytes;
    }
    try {
      const maker = await this.loadMaker();
      const texture = maker.makeTexture(pixels.data, pixels.width, pixels.height, false);
      console.log(`texture: ${name} (${pixels.width} x ${pixels.height}) made into a texture`);
      return texture;
    } catch (error) {
      console.log(`texture: ${name} cannot be made into a texture: ${error.message}`);
      return bytes;
    }
  },
};
