# A fresh 64-bit Wine prefix in the test's folder, with Wine's virtual desktop inside the test's
# Xvfb (a plain X server cannot switch to 320 x 240 x 8), no Mono or Gecko installers, and code
# page 932 for the programs' texts; one wine server for the whole test. Sourced after
# tests/e2e/common.sh, which gives the folder ($work) and $pid. The desktop is 640 x 480 unless
# WINE_DESKTOP_SIZE names another size (Wine offers the display modes up to the desktop's size,
# and the desktop's own).
export WINEPREFIX="$work/prefix" WINEARCH=win64 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
wine() { env LC_ALL=ja_JP.UTF-8 LANG=ja_JP.UTF-8 wine "$@"; }
wineboot -i > /dev/null 2>&1
# The virtual desktop through the registry, so that `wine program` still hands back the
# program's exit status; then wait for the wine server to write it all down.
wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f > /dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "${WINE_DESKTOP_SIZE:-640x480}" \
  /f > /dev/null 2>&1
wineserver -w
# One wine server for the whole test, with the virtual desktop brought up before a program
# asks it for a display mode.
wineserver -p
trap 'wineserver -k 2> /dev/null || true; if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; fi; rm -rf "$work"' EXIT
wine cmd /c exit > /dev/null 2>&1
