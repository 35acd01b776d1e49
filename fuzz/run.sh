#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs the settings reader's for a
# bounded time. Usage: fuzz/run.sh [SECONDS]   (default 60)
# Prints a summary (runs, time, corpus); the fuzzer's full log only when it
# found something or failed.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
CXX=clang++ cmake -S fuzz -B build/fuzz -G Ninja >/dev/null
ninja -C build/fuzz -j 2 settings_reader_fuzz >build/fuzz/build.log 2>&1 || { cat build/fuzz/build.log; exit 1; }
mkdir -p build/fuzz/corpus build/fuzz/artifacts
log=build/fuzz/fuzz.log
status=0
build/fuzz/settings_reader_fuzz -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
  -print_final_stats=1 -artifact_prefix=build/fuzz/artifacts/ build/fuzz/corpus fuzz/seeds \
  >"$log" 2>&1 || status=$?
runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
took=$(grep -o 'Done [0-9]* runs in [0-9]* second(s)' "$log" | tail -n 1 | grep -o '[0-9]* second(s)' || true)
corpus=$(find build/fuzz/corpus -type f | wc -l)
if [ "$status" -ne 0 ] || grep -q '^==[0-9]*==ERROR\|^SUMMARY:\|runtime error:' "$log"; then
  cat "$log"
  echo "fuzz: FOUND A PROBLEM (exit $status); inputs in build/fuzz/artifacts/, log in $log"
  exit 1
fi
echo "fuzz: ${runs:-?} runs in ${took:-$seconds s}, nothing found (corpus $corpus inputs; log in $log)"
