#!/usr/bin/env bash
# Prints the benchmark figures: one monitoring pass against the test doubles
# (native) and against the real registry under Wine, the window's longest
# unanswered message while Start waits for a share that answers in 1.5 s, the CPU share of a 500 ms
# wait with the real message pump, the CPU share of the real Dirmind.exe while
# it watches at a 5 s interval and at 0.01 s, and how soon it corrects a value written from
# outside: told by the registry at a 3600 s interval, and with the interval
# passes alone at 1 s; its CPU share while another program writes elsewhere
# under HKCU\SOFTWARE once per millisecond, with Jw_cad's key and the watched
# folder missing (the former listening's figure is in the README); and the
# size of the release Dirmind.exe, x64 and x86.
# Usage: scripts/bench.sh [IDLE_SECONDS] [WRITES] [UNRELATED_SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh test
idle="${1:-60}"
writes="${2:-200}"
unrelated="${3:-10}"

cmake -S . -B build/bench-native -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/bench-native --target bench_pass_bench -j "$(nproc)"
cmake -S . -B build/win-x86_64 -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-x86_64.cmake >/dev/null
cmake --build build/win-x86_64 --target Dirmind bench_wait_cpu bench_pass_bench_win32 bench_start_wait \
      bench_dirmind_interval_only -j "$(nproc)"
cmake -S . -B build/win-i686 -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-i686.cmake >/dev/null
cmake --build build/win-i686 --target Dirmind -j "$(nproc)"

echo "== Release Dirmind.exe, as packaged (budget 650,000 bytes each)"
for arch in x86_64 i686; do
  printf '%-7s %9d bytes\n' "$arch" "$(stat -c %s "build/win-$arch/Dirmind.exe")"
done

echo "== One pass against the test doubles (native)"
build/bench-native/bench/bench_pass_bench 10000

exe="Z:$(pwd | tr / '\\')\\build\\win-x86_64\\Dirmind.exe"
interval_only="Z:$(pwd | tr / '\\')\\build\\win-x86_64\\bench\\bench_dirmind_interval_only.exe"
scripts/with-wine.sh bash -c "
  echo '== DispatchMessagesFor(500) with the real message pump (Wine)'
  wine build/win-x86_64/bench/bench_wait_cpu.exe
  echo '== The window while Start waits for a share that answers in 1.5 s (Wine)'
  wine build/win-x86_64/bench/bench_start_wait.exe
  echo '== One pass against the real registry (Wine)'
  wine build/win-x86_64/bench/bench_pass_bench_win32.exe 2000
  echo '== Dirmind.exe watching at a 5 s interval for $idle s (Wine)'
  wine build/win-x86_64/bench/bench_pass_bench_win32.exe --idle-cpu '$exe' $idle
  echo '== Dirmind.exe watching a local folder at a 0.01 s interval for $idle s (Wine)'
  wine build/win-x86_64/bench/bench_pass_bench_win32.exe --idle-cpu '$exe' $idle 0.01
  echo '== Correction latency: $writes outside writes, told by the registry (Wine)'
  wine build/win-x86_64/bench/bench_pass_bench_win32.exe --latency '$exe' 3600 $writes
  echo '== Correction latency: the same writes, interval passes alone at 1 s (Wine)'
  wine build/win-x86_64/bench/bench_pass_bench_win32.exe --latency '$interval_only' 1 $writes
  echo '== Writes elsewhere under HKCU\\SOFTWARE for $unrelated s, Jw_cad missing: Dirmind.exe (Wine)'
  wine build/win-x86_64/bench/bench_pass_bench_win32.exe --unrelated-writes '$exe' $unrelated
"
