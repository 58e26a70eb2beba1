#!/usr/bin/env bash
# What the packages hold: in the Debian package the four programs (not the examples that are
# not installed), the licence in Debian's machine-readable copyright file with the terms of
# LICENSE; in the Windows zip the two programs, LICENSE.txt equal to LICENSE and the notes on
# the runtime linked into them.
#   package_contents_test.sh ROOT DEB ZIP
set -euo pipefail
root="$1"
deb="$2"
zip="$3"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAILED: $*"; exit 1; }

dpkg-deb -x "$deb" "$work/deb"
for program in rotozoom engine-showcase make-texture rotozoom-capture; do
  [ -x "$work/deb/usr/bin/$program" ] || fail "the Debian package has no /usr/bin/$program"
done
[ -e "$work/deb/usr/bin/minimal" ] && fail "the Debian package installs the minimal example"
copyright="$work/deb/usr/share/doc/rotozoom/copyright"
[ -f "$copyright" ] || fail "the Debian package has no copyright file"
head -1 "$copyright" |
  grep -qx "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" ||
  fail "the copyright file is not in Debian's machine-readable format"
grep -qx "Files: \*" "$copyright" && grep -qx "License: Expat" "$copyright" ||
  fail "the copyright file does not put every file under the Expat (MIT) licence"
# The licence's paragraphs, as the copyright file indents them, are LICENSE's.
sed -n '/^License: Expat$/,$p' "$copyright" | tail -n +2 | sed -n '/^ /p' |
  sed 's/^ //; s/^\.$//' > "$work/terms-in-package"
sed -n '/^Permission is hereby granted/,$p' "$root/LICENSE" > "$work/terms"
diff -q "$work/terms" "$work/terms-in-package" > /dev/null ||
  fail "the copyright file's licence text differs from LICENSE"
echo "ok: the Debian package holds the four programs and the MIT licence in its copyright file"

unzip -q "$zip" -d "$work/zip"
folder="$(find "$work/zip" -mindepth 1 -maxdepth 1 -type d)"
for file in rotozoom.exe engine-showcase.exe texture.bmp README.txt LICENSE.txt \
            windows-runtime-licences.txt; do
  [ -f "$folder/$file" ] || fail "the Windows zip has no $file"
done
cmp -s "$root/LICENSE" "$folder/LICENSE.txt" || fail "the zip's LICENSE.txt is not LICENSE"
echo "ok: the Windows zip holds the programs, LICENSE.txt and the runtime's licences"
