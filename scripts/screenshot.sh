#!/usr/bin/env bash
# Takes the screenshot of the main window for the documentation: starts
# Dirmind.exe under Wine on a private virtual display (scripts/with-wine.sh),
# waits until its window is up and painted, grabs the display and crops it to
# the window. Builds nothing.
# Usage: scripts/screenshot.sh [--dpi DPI] [PATH/TO/Dirmind.exe [OUTPUT.png]]
#   --dpi: the display's resolution in the Wine prefix (LogPixels), default 96
#   defaults: build/win-x86_64/Dirmind.exe and docs/screenshot.png, at another
#   resolution docs/screenshot-PERCENT.png (144 dpi: docs/screenshot-150.png)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
# The main window's caption, with the version of src/app/version.h.
caption="Dirmind Ver.$(sed -n 's/^#define DIRMIND_VERSION "\(.*\)"$/\1/p' "$root/src/app/version.h")"

if [ "${1:-}" != "--on-display" ]; then
  dpi=96
  if [ "${1:-}" = "--dpi" ]; then
    dpi=${2:-}
    [[ "$dpi" =~ ^[1-9][0-9]*$ ]] || { echo "screenshot: --dpi takes a number" >&2; exit 1; }
    shift 2
  fi
  name=screenshot.png
  [ "$dpi" = 96 ] || name="screenshot-$((dpi * 100 / 96)).png"
  exe=$(realpath -m "${1:-$root/build/win-x86_64/Dirmind.exe}")
  out=$(realpath -m "${2:-$root/docs/$name}")
  [ -f "$exe" ] || { echo "screenshot: $exe not found (build it first)" >&2; exit 1; }
  for tool in xwininfo import convert; do
    command -v "$tool" >/dev/null ||
      { echo "screenshot: $tool is missing (scripts/install-deps.sh screenshot)" >&2; exit 1; }
  done
  mkdir -p "$(dirname "$out")"
  DIRMIND_WINE_DPI=$dpi exec timeout 300 "$root/scripts/with-wine.sh" "$0" --on-display "$exe" "$out" "$dpi"
fi

# From here on: inside with-wine.sh, with DISPLAY and WINEPREFIX set.
exe=$2
out=$3
dpi=$4
work=$(mktemp -d /tmp/dirmind-shot.XXXXXX)
app_pid=""
finish() {
  if [ -n "$app_pid" ]; then kill "$app_pid" 2>/dev/null || true; wait "$app_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap finish EXIT

# Without a window manager on the virtual display, Wine draws the frame and
# the title bar itself only when told not to ask for decorations.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1 || true

# The caption buttons' glyphs come from Wine's Marlett, which this Wine build
# does not load from its own data folder: give it to the prefix.
for fonts in /usr/share/wine/fonts /usr/lib/wine/fonts; do
  if [ -f "$fonts/marlett.ttf" ]; then
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    cp "$fonts/marlett.ttf" "$WINEPREFIX/drive_c/windows/Fonts/"
    break
  fi
done

# A copy of its own, so that the program starts from its defaults and its
# settings file lands in the scratch folder.
cp "$exe" "$work/Dirmind.exe"
(cd "$work" && exec wine "$work/Dirmind.exe") >/dev/null 2>&1 &
app_pid=$!

# The X window of the main window, by its caption (60 s at most).
window=""
for _ in $(seq 1 600); do
  window=$(xwininfo -root -tree 2>/dev/null | grep -F "\"$caption\"" | awk '{print $1}' | head -n 1 || true)
  [ -n "$window" ] && break
  kill -0 "$app_pid" 2>/dev/null || { echo "screenshot: Dirmind.exe ended early" >&2; exit 1; }
  sleep 0.1
done
[ -n "$window" ] || { echo "screenshot: the window did not appear" >&2; exit 1; }

geometry() {
  xwininfo -id "$window" | awk '
    /Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
    /Width:/ {w=$NF} /Height:/ {h=$NF} /Map State:/ {m=$NF}
    END {if (m == "IsViewable") printf "%dx%d+%d+%d\n", w, h, x, y}'
}

# Grab until two grabs in a row agree: the window is mapped and fully
# painted (20 s at most).
previous=""
for i in $(seq 1 100); do
  crop=$(geometry || true)
  if [ -n "$crop" ]; then
    import -window root -crop "$crop" +repage "$work/shot-$i.png"
    if [ -n "$previous" ] && compare -metric AE "$previous" "$work/shot-$i.png" null: 2>/dev/null; then
      cp "$work/shot-$i.png" "$out"
      echo "screenshot: $out ($crop)"
      exit 0
    fi
    previous="$work/shot-$i.png"
  fi
  sleep 0.2
done
echo "screenshot: the window did not settle" >&2
exit 1
