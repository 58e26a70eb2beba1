#!/usr/bin/env bash
# make-texture --from as a user meets it, on pictures made here with ImageMagick: every format
# and BMP depth gives a 128 x 128 8-bit texture that the demo runs on (rotozoom-capture draws
# frames from it); the lossless formats of the same pixels give the same texture; a picture of
# 256 colours or fewer is kept exactly; a huge picture, a truncated file, a text file named
# .png, a named pipe, a folder and a missing file are refused with one line and status 2,
# writing nothing and leaving an existing FILE as it was.
#   make_texture_from_test.sh MAKE_TEXTURE ROTOZOOM_CAPTURE
set -uo pipefail
make_texture="$(realpath "$1")" capture="$(realpath "$2")"
folder="$(mktemp -d)"
trap 'rm -rf "$folder"' EXIT
cd "$folder" || exit 1
failures=0

fail() {
  echo "FAILED: $*"
  failures=$((failures + 1))
}

# A photo-like picture of many colours, and the same reduced to 200, 16 and 2 colours; all at
# 8 bits a channel, the depth every format here holds.
convert -seed 5 -size 160x120 plasma:fractal -depth 8 base.png || exit 1
convert base.png -colors 200 -depth 8 base200.png
convert base.png -colors 16 -depth 8 base16.png
convert base.png -monochrome -depth 8 base2.png

# The formats, each with the depth its header must show.
convert base.png photo.jpg
convert base.png -quality 90 photo.webp
convert base200.png photo.gif
convert base2.png BMP3:bits1.bmp
convert base16.png -colors 16 BMP3:bits4.bmp
convert base200.png BMP3:bits8.bmp
convert base.png -type truecolor BMP3:bits24.bmp
convert base.png -alpha on -type TrueColorAlpha BMP:bits32.bmp
for depth in 1 4 8 24 32; do
  actual="$(od -An -tu2 -j28 -N2 "bits$depth.bmp" | tr -d ' ')"
  [ "$actual" = "$depth" ] || fail "the fixture bits$depth.bmp has $actual bits a pixel"
done
convert -size 1x1 xc:'rgb(10,200,30)' one.png

# texture NAME IMAGE [OPTION]: make-texture --from IMAGE into NAME.bmp, which must be an 8-bit
# 128 x 128 bitmap with a 256-colour table.
texture() {
  local name="$1" image="$2"
  shift 2
  local errors
  if ! errors="$("$make_texture" --from "$image" "$@" "$name.bmp" 2>&1)" || [ -n "$errors" ]; then
    fail "--from $image: $errors"
    return 1
  fi
  local header
  header="$(od -An -tu4 -j18 -N8 "$name.bmp" | xargs) $(od -An -tu2 -j28 -N2 "$name.bmp" |
    xargs) $(od -An -tu4 -j46 -N4 "$name.bmp" | xargs) $(stat -c %s "$name.bmp")"
  if [ "$header" != "128 128 8 256 17462" ]; then
    fail "--from $image: width, height, bits, colours, size: $header"
    return 1
  fi
  echo "ok: --from $image $*"
}

# renders NAME: rotozoom-capture draws frames on NAME.bmp in a folder of its own; prints the
# number of colours in a frame.
renders() {
  mkdir -p "run-$1" && cp "$1.bmp" "run-$1/texture.bmp"
  (cd "run-$1" && "$capture" 2 100 > /dev/null 2>&1) || {
    fail "rotozoom-capture on the texture from $1 failed"
    return 1
  }
  convert "run-$1/frame-00101.png" -format %k info:
}

for image in base.png photo.jpg photo.webp photo.gif bits1.bmp bits4.bmp bits8.bmp bits24.bmp \
  bits32.bmp one.png; do
  name="${image%.*}-${image##*.}"
  texture "$name" "$image" || continue
  colours="$(renders "$name")" || continue
  least=64
  case "$image" in one.png) least=1 ;; bits1.bmp) least=2 ;; bits4.bmp) least=10 ;; esac
  if [ "$colours" -lt "$least" ]; then
    fail "the demo on $image's texture shows $colours colours"
  else
    echo "ok: the demo runs on $image's texture ($colours colours in a frame)"
  fi
done
texture dithered base.png --dither && renders dithered > /dev/null
cmp -s dithered.bmp base-png.bmp && fail "--dither made the same texture as without"

# A 1 x 1 picture: the demo shows its colour everywhere but the frame counter.
main_colour="$(convert run-one-png/frame-00101.png -format %c histogram:info: | sort -rn |
  head -1 | grep -o '#[0-9A-F]\{6\}')"
[ "$main_colour" = "#0AC81E" ] || fail "the demo on a 1 x 1 picture shows $main_colour mostly"

# The same pixels in any lossless file give the same texture: the decoders agree on rows,
# channel order and depth.
for pair in "base-png bits24-bmp" "base-png bits32-bmp"; do
  set -- $pair
  cmp -s "$1.bmp" "$2.bmp" || fail "$1 and $2: the same pixels gave different textures"
done
convert base200.png base200-again.png && texture base200 base200-again.png
cmp -s base200.bmp photo-gif.bmp || fail "the GIF and the PNG of the same pixels differ"
cmp -s base200.bmp bits8-bmp.bmp || fail "the 8-bit BMP and the PNG of the same pixels differ"
texture base2 base2.png && cmp -s base2.bmp bits1-bmp.bmp || fail "1-bit BMP and PNG differ"
texture base16 base16.png && cmp -s base16.bmp bits4-bmp.bmp || fail "4-bit BMP and PNG differ"

# 256 colours or fewer, at the texture's size: the texture's pixels are the picture's exactly.
convert -seed 9 -size 128x128 plasma:fractal -colors 256 -depth 8 exact.png
texture exact exact.png
[ "$(convert exact.png rgb:- | sha256sum)" = "$(convert exact.bmp rgb:- | sha256sum)" ] ||
  fail "a picture of 256 colours did not come back exactly"

# A large picture is taken; a huge one (400 million pixels in a file of 60 KB) is refused
# from its header, before the decoder asks for the memory.
python3 - << 'EOF'
import struct, zlib
def png(name, width, height):
    row = b"\0" + b"\xaa" * ((width + 7) // 8)  # 1-bit grey, stripes
    packer = zlib.compressobj(9)
    data = b"".join(packer.compress(row) for _ in range(height)) + packer.flush()
    chunk = lambda kind, body: (struct.pack(">I", len(body)) + kind + body +
                                struct.pack(">I", zlib.crc32(kind + body)))
    header = struct.pack(">IIBBBBB", width, height, 1, 0, 0, 0, 0)
    with open(name, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", data) +
                chunk(b"IEND", b""))
png("large.png", 6000, 4000)
png("huge.png", 20000, 20000)
EOF
# Its black and white stripes average to half the light, sRGB 188.
texture large large.png
mean="$(convert large.bmp -format '%[fx:round(mean*255)]' info:)"
[ "$mean" -ge 185 ] && [ "$mean" -le 191 ] || fail "the large picture's stripes average $mean"

# refused NAME IMAGE PATTERN: status 2, one line "make-texture: IMAGE: ..." matching PATTERN,
# and FILE (made beforehand) left as it was.
refused() {
  local name="$1" image="$2" pattern="$3"
  echo "an earlier texture" > kept.bmp
  local errors status
  errors="$(timeout 20 "$make_texture" --from "$image" kept.bmp 2>&1)"
  status=$?
  if [ "$status" -ne 2 ] || [ "$(wc -l <<<"$errors")" -ne 1 ] ||
    ! grep -qE -- "^make-texture: $image: $pattern" <<<"$errors"; then
    fail "$name: status $status (expected 2), output: $errors"
  elif [ "$(cat kept.bmp)" != "an earlier texture" ]; then
    fail "$name: FILE was written"
  else
    echo "ok: $name refused: $errors"
  fi
  errors="$(timeout 20 "$make_texture" --from "$image" 2>&1)"
  [ -e texture.bmp ] && fail "$name: texture.bmp was written" && rm -f texture.bmp
}
head -c 2000 base.png > truncated.png
echo "not a picture" > text.png
head -c 30 large.png > header-only.png
: > empty.png
mkfifo pipe.png
mkdir folder.png
ln -s nowhere.png dangling.png
refused "a huge picture" huge.png "20000 x 20000 pixels is more than"
refused "a truncated PNG" truncated.png "cannot decode the PNG picture"
refused "a PNG of its header alone" header-only.png "cannot decode the PNG picture"
refused "a text file named .png" text.png "not a PNG, JPEG, GIF, WebP or BMP picture"
refused "a named pipe" pipe.png "not a regular file"
refused "a folder" folder.png "is a folder"
refused "a dangling symbolic link" dangling.png "No such file or directory"
refused "a missing file" missing.png "No such file or directory"
refused "an empty file" empty.png "not a PNG, JPEG, GIF, WebP or BMP picture"
refused "a device" /dev/zero "not a regular file"

# A symbolic link to a picture is read as the picture.
ln -s base.png link.png && texture linked link.png && cmp -s linked.bmp base-png.bmp ||
  fail "a link to base.png gave another texture"
# FILE a folder: the folder is left alone, status 1 as for any file that cannot be written.
errors="$("$make_texture" --from base.png folder.png 2>&1)"
[ $? -eq 1 ] && grep -q "^make-texture: folder.png: Is a directory" <<<"$errors" ||
  fail "FILE a folder: $errors"
# FILE a named pipe: refused at once rather than waiting for a reader.
mkfifo out-pipe.bmp
errors="$(timeout 20 "$make_texture" --from base.png out-pipe.bmp 2>&1)"
[ $? -eq 1 ] && grep -q "named pipe" <<<"$errors" || fail "FILE a named pipe: $errors"

# FILE is replaced whole or not at all. Beyond the file-size limit (the signal left at its
# default, which would end the run mid-write), an existing texture stays as it was and no
# hidden partial file is left beside it.
cp base-png.bmp earlier.bmp && chmod 640 earlier.bmp
errors="$(ulimit -f 8 && "$make_texture" --from photo.jpg earlier.bmp 2>&1)"
status=$?
[ "$status" -eq 1 ] && grep -q "^make-texture: earlier.bmp: cannot write: File too large$" \
  <<<"$errors" || fail "beyond the file-size limit: status $status, output: $errors"
cmp -s earlier.bmp base-png.bmp || fail "a write cut short by the file-size limit lost FILE"
ls -A | grep -q '^\.earlier' && fail "a write cut short left $(ls -A | grep '^\.earlier')"
# A texture written keeps the permissions FILE had; a link is followed and stays a link.
"$make_texture" --from photo.jpg earlier.bmp && cmp -s earlier.bmp photo-jpg.bmp &&
  [ "$(stat -c %a earlier.bmp)" = 640 ] || fail "FILE rewritten: $(stat -c %a earlier.bmp)"
ln -s earlier.bmp link-out.bmp && "$make_texture" --from base.png link-out.bmp &&
  [ -L link-out.bmp ] && cmp -s earlier.bmp base-png.bmp || fail "FILE a link: not followed"
ln -s later.bmp dangling-out.bmp && "$make_texture" --from base.png dangling-out.bmp &&
  [ -L dangling-out.bmp ] && cmp -s later.bmp base-png.bmp || fail "FILE a dangling link"
# FILE the picture itself (by its name or a link): refused, the picture kept.
cp base.png own.png && ln -s own.png own-link.png
for output in own.png own-link.png; do
  errors="$("$make_texture" --from own.png "$output" 2>&1)"
  status=$?
  [ "$status" -eq 2 ] && grep -q "^make-texture: $output: is the picture itself" <<<"$errors" &&
    cmp -s own.png base.png || fail "FILE $output, the picture itself: status $status, $errors"
done
# Runs at once writing one FILE: it ends as one of their textures, whole, with nothing left
# beside it.
for run in 1 2 3 4 5 6 7 8; do
  "$make_texture" --from base.png shared.bmp &
  "$make_texture" --from photo.jpg shared.bmp &
done
wait
cmp -s shared.bmp base-png.bmp || cmp -s shared.bmp photo-jpg.bmp ||
  fail "runs at once left a texture that is neither of theirs"
ls -A | grep -q '^\.shared' && fail "runs at once left $(ls -A | grep '^\.shared')"

exit $((failures > 0))
