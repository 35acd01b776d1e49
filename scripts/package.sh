#!/usr/bin/env bash
# Builds the release executables (x86_64 and i686) in fresh build folders and
# writes the packages for Windows users:
#   dist/Dirmind-<version>-x86.zip   32-bit, for 32-bit and 64-bit Windows 7 or later (recommended)
#   dist/Dirmind-<version>-x64.zip   64-bit, for 64-bit Windows 7 or later only
#   dist/SHA256SUMS
# Each zip holds the folder Dirmind/ with Dirmind.exe, LICENSE.txt and readme.txt (the
# Japanese guide docs/guide-ja.md in Shift-JIS). Building twice from the same
# commit gives the same bytes: every time stamp, the executables' included, is
# the commit's time (or $SOURCE_DATE_EPOCH when set).
# Usage: scripts/package.sh [OUTPUT_DIR]   (default: dist)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh package

out="${1:-dist}"
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  SOURCE_DATE_EPOCH=$(git log -1 --format=%ct 2>/dev/null) ||
    { echo "package: not a git checkout; set SOURCE_DATE_EPOCH" >&2; exit 1; }
fi
export SOURCE_DATE_EPOCH
if [ -n "$(git status --porcelain 2>/dev/null || true)" ]; then
  echo "package: the tree has uncommitted changes; these packages match no commit" >&2
fi

version=$(sed -n 's/^#define DIRMIND_VERSION "\(.*\)"$/\1/p' src/app/version.h)
[ -n "$version" ] || { echo "package: no version in src/app/version.h" >&2; exit 1; }

for arch in x86_64 i686; do
  dir="build/package-$arch"
  rm -rf "$dir"
  echo "== Release build ($arch)"
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DDIRMIND_TESTS=OFF \
        -DCMAKE_TOOLCHAIN_FILE="cmake/toolchain-mingw-$arch.cmake" >/dev/null
  cmake --build "$dir" -j "$(nproc)" --target Dirmind
done

rm -f "$out"/Dirmind-*.zip "$out/SHA256SUMS"
python3 scripts/package.py "$out" "$version" \
  x86=build/package-i686/Dirmind.exe x64=build/package-x86_64/Dirmind.exe
echo "== Packages in $out"
(cd "$out" && ls -l Dirmind-*.zip && cat SHA256SUMS)
