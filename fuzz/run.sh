#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs the settings reader's for a
# bounded time. Usage: fuzz/run.sh [SECONDS]   (default 60)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
CXX=clang++ cmake -S fuzz -B build/fuzz -G Ninja >/dev/null
ninja -C build/fuzz -j 2 settings_reader_fuzz
mkdir -p build/fuzz/corpus
build/fuzz/settings_reader_fuzz -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
  -print_final_stats=1 build/fuzz/corpus fuzz/seeds
