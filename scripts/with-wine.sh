#!/usr/bin/env bash
# Runs a command with a fresh Wine prefix and a private virtual display
# (Xvfb), then removes both. Usage: scripts/with-wine.sh COMMAND [ARGS...]
# Set DIRMIND_USE_DISPLAY=1 to use the current $DISPLAY instead of Xvfb, and
# DIRMIND_WINE_DPI to the display's resolution (LogPixels) if not 96.
set -euo pipefail
. "$(dirname "$0")/wine-loader.sh"

prefix=$(mktemp -d /tmp/dirmind-wine.XXXXXX)
export WINEPREFIX="$prefix"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml="
if locale -a 2>/dev/null | grep -qi '^ja_JP\.utf8$'; then
  export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
fi

xvfb_pid=""
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true; fi
  rm -rf "$prefix"
}
trap cleanup EXIT

if [ -z "${DIRMIND_USE_DISPLAY:-}" ] || [ -z "${DISPLAY:-}" ]; then
  n=90
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  export DISPLAY=":$n"
  for _ in $(seq 1 100); do
    [ -e "/tmp/.X11-unix/X$n" ] && break
    sleep 0.1
  done
  [ -e "/tmp/.X11-unix/X$n" ] || { echo "with-wine: Xvfb did not start" >&2; exit 1; }
fi

# Bring the prefix up outside the command, so that Wine's background
# processes are running before any test starts.
timeout 180 wineboot --init >/dev/null 2>&1 || { echo "with-wine: wineboot failed" >&2; exit 1; }
# Wine 10 reads the resolution once, when its session starts (Wine 8 at each
# program's start): it is set in the prefix, and the session ended, so that
# the command's session starts with it.
if [ -n "${DIRMIND_WINE_DPI:-}" ]; then
  [[ "$DIRMIND_WINE_DPI" =~ ^[1-9][0-9]*$ ]] || { echo "with-wine: DIRMIND_WINE_DPI is not a number" >&2; exit 1; }
  export DIRMIND_WINE_DPI
  timeout 60 wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$DIRMIND_WINE_DPI" /f \
    >/dev/null 2>&1 || { echo "with-wine: cannot set LogPixels" >&2; exit 1; }
  timeout 60 wineboot --shutdown >/dev/null 2>&1 || true
  timeout 60 wineserver -w || { echo "with-wine: the Wine session did not end" >&2; exit 1; }
fi
timeout 60 wine cmd /c exit >/dev/null 2>&1 || true
# One program kept on the desktop for the whole run. Without it every GUI
# program starts Wine's desktop process anew, which outlives that program and
# holds ctest's output pipe open for seconds after each test.
timeout 60 wine start /min notepad.exe >/dev/null 2>&1 || true

"$@"
