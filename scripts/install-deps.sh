#!/usr/bin/env bash
# Installs what building and testing Dirmind needs on Debian 12, if missing.
# Usage: scripts/install-deps.sh [run|test|package|screenshot]   (default: test)
#   screenshot: what scripts/screenshot.sh needs besides Wine
set -euo pipefail

what="${1:-test}"
packages=(cmake ninja-build g++ g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix)
if [ "$what" != package ]; then
  packages+=(wine wine64 fonts-wine xvfb xauth fonts-ipafont-gothic locales)
fi
if [ "$what" = test ]; then
  packages+=(googletest x11-utils clang libclang-rt-14-dev)
  # The Debian 13 root the tests also run in, under its Wine.
  packages+=(debootstrap)
fi
# The release packages: the zips and the Shift-JIS guide are written by Python;
# their time stamps are the commit's.
if [ "$what" = package ] || [ "$what" = test ]; then
  packages+=(python3 git)
fi
if [ "$what" = screenshot ]; then
  packages+=(x11-utils imagemagick)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# 32-bit Wine, to run the i686 build as well (Jw_cad itself is a 32-bit program).
if [ "$what" = test ] && ! dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q "install ok installed"; then
  echo "Installing: wine32:i386"
  export DEBIAN_FRONTEND=noninteractive
  dpkg --add-architecture i386
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends wine32:i386 >/dev/null
fi

# Japanese texts need a Japanese locale under Wine.
if [ "$what" != package ] && ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf8$'; then
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null || echo 'ja_JP.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen >/dev/null
fi
