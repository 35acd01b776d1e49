#!/usr/bin/env bash
# Builds Dirmind.exe and starts it under Wine, in the current Wine prefix (the
# one Jw_cad uses). Without a display it runs on a virtual one (Xvfb).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh run
. scripts/wine-loader.sh

cmake -S . -B build/app -G Ninja -DCMAKE_BUILD_TYPE=Release -DDIRMIND_TESTS=OFF \
      -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-x86_64.cmake >/dev/null
cmake --build build/app -j "$(nproc)"

export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8

if [ -n "${DISPLAY:-}" ]; then
  exec wine build/app/Dirmind.exe
fi

n=90
while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill "$xvfb_pid" 2>/dev/null || true' EXIT
for _ in $(seq 1 100); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
echo "Dirmind is running on the virtual display :$n (close it with Ctrl+C)."
DISPLAY=":$n" wine build/app/Dirmind.exe
