#!/usr/bin/env bash
# Builds everything and runs every test: the native unit tests under
# AddressSanitizer and UBSan, then the Windows builds under Wine (unit tests,
# adapter tests against the real registry and files, end-to-end tests of the
# real Dirmind.exe on a virtual display), a bounded fuzzing run, and the tests
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

# Runs a Windows build's tests under Wine. Wine now and then fails to start a
# test's process at all ("ShellExecuteEx failed", before any test code runs):
# a failed test whose output holds no line of the test program's own gets one
# more run, and the log names it. Any other failure stands.
wine_tests() {
  local dir=$1 failed=() name
  ctest --test-dir "$dir" --output-on-failure && return 0
  while IFS= read -r name; do
    if ! awk -v name="$name" '
        $0 ~ /^[0-9]+\/[0-9]+ Test: / && substr($0, index($0, "Test: ") + 6) == name { inside = 1; next }
        inside && /^<end of output>$/ { exit }
        inside && /^\[==========\]/ { started = 1 }
        END { exit started ? 0 : 1 }' "$dir/Testing/Temporary/LastTest.log"; then
      failed+=("$name")
    else
      return 1
    fi
  done < <(sed 's/^[0-9]*://' "$dir/Testing/Temporary/LastTestsFailed.log")
  [ "${#failed[@]}" -gt 0 ] || return 1
  printf '== Wine could not start these tests; one more run: %s\n' "${failed[*]}"
  local pattern
  pattern=$(printf '%s\n' "${failed[@]}" | sed 's/[].*^$+?()|\\[]/\\&/g' | paste -sd '|')
  ctest --test-dir "$dir" --output-on-failure --no-tests=error -R "^($pattern)\$"
}
export -f wine_tests

echo "== Windows tests under Wine (x86_64)"
scripts/with-wine.sh bash -c 'wine_tests build/win-x86_64' || status=1

. scripts/wine-loader.sh
if wine32_runs; then
  echo "== Windows tests under Wine (i686)"
  scripts/with-wine.sh bash -c 'wine_tests build/win-i686' || status=1
else
  echo "== i686 tests skipped: 32-bit Wine cannot run here (wine32:i386 missing, or a kernel without 32-bit support)"
fi

echo "== Release packages (built twice, unpacked, started under Wine)"
scripts/package-test.sh || status=1

exit "$status"
