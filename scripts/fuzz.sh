#!/usr/bin/env bash
# Builds the fuzz targets with clang in build-fuzz and runs the settings tag reader fuzzer for a bounded
# time; any crash, sanitizer report, failed check or hang fails the script.
# Usage: scripts/fuzz.sh [SECONDS]   (default 60)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}

CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCURVICRAFT_FUZZ=ON -DCURVICRAFT_TESTS=OFF -DCURVICRAFT_BENCH=OFF >/dev/null
cmake --build build-fuzz --target settings_fuzz -j 2

# New inputs go to a work corpus inside the build dir; the committed seeds are only read.
work=build-fuzz/settings_corpus
mkdir -p "$work"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  build-fuzz/tests/fuzz/settings_fuzz -max_total_time="$seconds" -timeout=10 -max_len=16384 \
  -print_final_stats=1 -artifact_prefix=build-fuzz/ "$work" tests/fuzz/settings_corpus
