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
