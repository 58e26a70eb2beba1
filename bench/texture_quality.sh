#!/usr/bin/env bash
# The texture quantiser's colour error on three kinds of picture made here with ImageMagick (a
# photo-like gradient, flat artwork, a screenshot with text), each fitted to the 128 x 128 tile
# as make-texture fits it, then quantised to 256 colours: by ours (plain and dithered), by a
# fixed 3-3-2 palette, and by ImageMagick's `convert -colors 256 +dither`, the anchor to beat.
# Mean and 99th percentile of each pixel's error against the tile, in OKLab (x 100) and
# CIEDE2000 (bench/texture_quality.cpp), on the Release build (build/release).
#
#   bash bench/texture_quality.sh
#
# Not a test: a measurement to read (the quantiser's tests hold what it must do).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build/release"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build "$build" --target texture-quality > /dev/null
quality="$build/bench/texture-quality"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"

# A photo-like gradient: a sky-to-sand ramp under soft fractal clouds.
convert -size 640x480 gradient:'#203a70-#e8c090' \
  \( -size 640x480 -seed 11 plasma:fractal -blur 0x6 \) -compose overlay -composite \
  -depth 8 photo.ppm
# Flat artwork: a few solid shapes with smooth (anti-aliased) edges.
convert -size 512x512 xc:'#f4e8d0' \
  -fill '#d04020' -draw 'circle 200,200 200,60' \
  -fill '#2060a0' -draw 'rectangle 260,240 480,470' \
  -fill '#30a050' -draw 'polygon 40,480 180,300 320,480' \
  -fill '#f0c020' -draw 'ellipse 380,120 90,50 0,360' \
  -fill '#602080' -draw 'roundrectangle 40,40 140,120 15,15' -depth 8 artwork.ppm
# A screenshot with text: a window's title bar, a toolbar, lines of small anti-aliased text
# in two colours, and a button.
font="$(fc-match -f '%{file}' 'DejaVu Sans')"
convert -size 480x480 xc:'#ececec' -font "$font" \
  -fill '#3465a4' -draw 'rectangle 0,0 480,32' \
  -fill white -pointsize 16 -draw "text 10,22 'Documents - File Manager'" \
  -fill '#d8d8d8' -draw 'rectangle 0,33 480,64' \
  -fill '#202020' -pointsize 12 \
  -draw "text 12,54 'File   Edit   View   Go   Help'" \
  -draw "text 16,100 'The quick brown fox jumps over the lazy dog.'" \
  -draw "text 16,120 'Pack my box with five dozen liquor jugs, 0123456789.'" \
  -fill '#a40000' -draw "text 16,140 'Warning: 3 files could not be copied.'" \
  -fill '#202020' -draw "text 16,160 'Size: 1.4 MB   Modified: yesterday at 17:42'" \
  -fill '#4e9a06' -draw 'roundrectangle 320,400 460,440 6,6' \
  -fill white -pointsize 14 -draw "text 352,426 'Continue'" -depth 8 screenshot.ppm

for picture in photo artwork screenshot; do
  echo "$picture:"
  "$quality" fit "$picture.ppm" "$picture-tile.ppm"
  convert "$picture-tile.ppm" +dither -colors 256 -depth 8 "$picture-imagemagick.ppm"
  "$quality" measure "$picture-tile.ppm" "$picture-imagemagick.ppm"
done
