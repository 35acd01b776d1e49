#!/usr/bin/env bash
# Tests the release packages: the guide quotes the program's own texts; the
# packages built twice (the second time from a copy of the tree in another
# place) are the same bytes; each zip holds what it should; and each packaged
# Dirmind.exe, unpacked, comes up under Wine with its window.
# Uses the end-to-end driver of build/win-x86_64 (scripts/test.sh builds it).
set -euo pipefail
cd "$(dirname "$0")/.."
status=0

echo "== Japanese guide quotes the program's texts"
python3 tests/package/package_test.py guide || status=1

work=$(mktemp -d /tmp/dirmind-package.XXXXXX)
trap 'rm -rf "$work"' EXIT

echo "== Release packages, built twice"
bash scripts/package.sh dist
mkdir "$work/tree"
git ls-files -z --cached --others --exclude-standard |
  tar -cf - --null --ignore-failed-read -T - 2>/dev/null | tar -xf - -C "$work/tree"
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct) \
  bash "$work/tree/scripts/package.sh" "$work/again" >/dev/null
for f in SHA256SUMS $(cd dist && ls Dirmind-*.zip); do
  cmp "dist/$f" "$work/again/$f" || { echo "FAILED: $f differs between two builds" >&2; status=1; }
done
python3 tests/package/package_test.py zips dist || status=1

echo "== Packaged Dirmind.exe under Wine"
if [ ! -f build/win-x86_64/tests/e2e_tests.exe ]; then
  cmake -S . -B build/win-x86_64 -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-x86_64.cmake >/dev/null
  cmake --build build/win-x86_64 -j "$(nproc)" --target e2e_tests
fi
zips=(dist/Dirmind-*-x64.zip)
if dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q "ok installed" &&
   /usr/lib/wine/wine --version >/dev/null 2>&1; then
  zips+=(dist/Dirmind-*-x86.zip)
else
  echo "== x86 package not started: 32-bit Wine (wine32:i386) is not installed or cannot run here"
fi
for zip in "${zips[@]}"; do
  name=$(basename "$zip" .zip)
  python3 -m zipfile -e "$zip" "$work/$name"
  echo "$work/$name/Dirmind/Dirmind.exe"
done >"$work/exes"
# The driver starts the executable named by DIRMIND_EXE and waits for its window.
scripts/with-wine.sh bash -c '
  status=0
  while read -r exe; do
    log=$(DIRMIND_EXE="$exe" timeout 120 wine build/win-x86_64/tests/e2e_tests.exe \
          --gtest_filter=Startup.WindowComesUpAndExitEndsTheProcess 2>&1 </dev/null) || true
    if grep -q "^\[  PASSED  \] 1 test\." <<<"$log"; then
      echo "-- window shown and closed: $exe"
    else
      echo "$log"; echo "FAILED: $exe did not come up" >&2; status=1
    fi
  done <"$1"
  exit "$status"' bash "$work/exes" || status=1

[ "$status" = 0 ] && echo "== Package tests passed" || echo "== Package tests FAILED" >&2
exit "$status"
