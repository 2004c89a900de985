#!/usr/bin/env bash
# Sets up, builds and runs every test: the normal build, then the sanitizer build.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
jobs=$(nproc)
cmake --preset default >/dev/null
cmake --build --preset default -j "$jobs"
ctest --preset default -j "$jobs"
cmake --preset asan >/dev/null
cmake --build --preset asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --preset asan -j "$jobs"
cmake --preset previous-host >/dev/null
cmake --build --preset previous-host -j "$jobs"
ctest --preset previous-host -j "$jobs" -R 'PreviousHost|Routing'
# The settings tag reader under libFuzzer with the sanitizers, for a bounded time.
bash scripts/fuzz.sh 60
