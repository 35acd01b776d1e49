#!/usr/bin/env bash
# Builds everything and runs every test: the native unit tests under
# AddressSanitizer and UBSan, then the Windows builds under Wine (unit tests,
# adapter tests against the real registry and files, end-to-end tests of the
# real Dirmind.exe on a virtual display) under this machine's Wine and under
# Debian 13's Wine in a Debian 13 root, a bounded fuzzing run, and the tests
# of the release packages.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh test

jobs=$(nproc)
status=0

echo "== Native build and unit tests (ASan, UBSan)"
cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Debug -DDIRMIND_SANITIZE=ON >/dev/null
cmake --build build/native -j "$jobs"
ctest --test-dir build/native --output-on-failure -j "$jobs" || status=1

echo "== Fuzzing the settings reader (60 s)"
fuzz/run.sh 60 || status=1

echo "== Windows builds (x86_64, i686)"
for arch in x86_64 i686; do
  cmake -S . -B "build/win-$arch" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="cmake/toolchain-mingw-$arch.cmake" >/dev/null
  cmake --build "build/win-$arch" -j "$jobs"
done

# Each build's tests under one Wine: all but the resolution tests in a session
# at 96 dpi, those in a session started at 144 dpi. Arguments: the build, then
# the command that enters that Wine's system (none for this machine's).
counts=$(mktemp /tmp/dirmind-counts.XXXXXX)
trap 'rm -f "$counts"' EXIT
dpi_tests='^e2e\.Dpi\.'
wine_run() {
  local dir=$1 result=0; shift
  "$@" env DIRMIND_WINE_COUNTS="$counts" scripts/with-wine.sh \
    scripts/wine-tests.sh "$dir" -E "$dpi_tests" || result=1
  "$@" env DIRMIND_WINE_COUNTS="$counts" DIRMIND_WINE_DPI=144 scripts/with-wine.sh \
    scripts/wine-tests.sh "$dir" -R "$dpi_tests" || result=1
  return "$result"
}

. scripts/wine-loader.sh
echo "== Windows tests under Wine (x86_64)"
wine_run build/win-x86_64 || status=1
if wine32_runs; then
  echo "== Windows tests under Wine (i686)"
  wine_run build/win-i686 || status=1
else
  echo "== i686 tests skipped: 32-bit Wine cannot run here (wine32:i386 missing, or a kernel without 32-bit support)"
fi

# The same under Debian 13's Wine, in a Debian 13 root kept outside the clone.
# Its ctest reuses the test lists found above under this machine's Wine.
echo "== Windows tests under Debian 13's Wine"
root=0
scripts/debian13-root.sh make || root=$?
if [ "$root" = 0 ]; then
  in_root=(scripts/debian13-root.sh run)
  echo "== Windows tests under Debian 13's Wine (x86_64)"
  wine_run build/win-x86_64 "${in_root[@]}" || status=1
  if "${in_root[@]}" bash -c '. scripts/wine-loader.sh && wine32_runs'; then
    echo "== Windows tests under Debian 13's Wine (i686)"
    wine_run build/win-i686 "${in_root[@]}" || status=1
  else
    echo "== i686 tests under Debian 13's Wine skipped: its 32-bit Wine cannot run here"
  fi
elif [ "$root" != 2 ]; then
  status=1
fi

echo "== Tests run under each Wine"
cat "$counts"

echo "== Release packages (built twice, unpacked, started under Wine)"
scripts/package-test.sh || status=1

exit "$status"
