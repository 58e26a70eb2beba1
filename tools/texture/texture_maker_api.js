// The texture maker's JavaScript face, added to the module (texture-maker.js):
//
//   const maker = await create_texture_maker();
//   const bmp = maker.makeTexture(rgba, width, height, dither);
//
// rgba: a Uint8Array or Uint8ClampedArray (an ImageData's data) of width x height pixels, red,
// green, blue, alpha; dither: a boolean (false for a texture that turns and zooms). Returns
// the texture.bmp file's bytes as a new Uint8Array; throws an Error whose message says why a
// picture is refused (an empty or too large picture, too few pixels).
Module['makeTexture'] = function (rgba, width, height, dither) {
  // A number handed to the module becomes a 32-bit integer by wrapping (2 ** 32 + 4 is 4,
  // 3.9 is 3, NaN is 0): anything else than a whole number of pixels is refused here.
  // (Written plainly: the minifier of Debian's Emscripten mangles destructuring in loops.)
  function checkSide(name, side) {
    if (!Number.isInteger(side) || Math.abs(side) > 0x7fffffff)
      throw new Error('a ' + name + ' of ' + side + ' is not a number of pixels');
  }
  checkSide('width', width);
  checkSide('height', height);
  if (!(rgba instanceof Uint8Array || rgba instanceof Uint8ClampedArray))
    throw new Error('the pixels are not bytes (a Uint8Array or an ImageData\'s data)');
  const input = _malloc(Math.max(rgba.length, 1));
  if (input === 0) throw new Error('not enough memory for a picture of ' + rgba.length + ' bytes');
  try {
    HEAPU8.set(rgba, input);
    const size = _texture_maker_make(input, rgba.length, width, height, dither ? 1 : 0);
    if (size === 0) throw new Error(UTF8ToString(_texture_maker_problem()));
    const start = _texture_maker_bytes();
    return HEAPU8.slice(start, start + size);
  } finally {
    _free(input);
  }
};
