#!/bin/sh
# Builds the answer fuzzer with clang (libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer; the library built with the same sanitizers and
# coverage, see fuzz/configure.sh) in build-fuzz/ or $WS_FUZZ_BUILD, runs the
# hostile-device matrix there, then fuzzes for a bounded time.  Seeds:
# tests/data/*.answer.xml and fuzz/corpus/.
#   fuzz/run.sh [seconds, default 60]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${WS_FUZZ_BUILD:-$root/build-fuzz}
seconds=${1:-60}
# A build already configured (scripts/test.sh runs the suite in one) is
# reused; otherwise one is configured with just the library and the fuzzer.
[ -f "$build/CMakeCache.txt" ] || sh "$root/fuzz/configure.sh" "$build" -DWS_BUILD_TOOLS=OFF -DWS_BUILD_SIM=OFF
cmake --build "$build" -j2 --target answer_fuzzer hostile_test >"$build/build.log" 2>&1 || { tail -40 "$build/build.log"; exit 1; }
"$build/fuzz/hostile_test"
corpus=$build/fuzz-corpus
mkdir -p "$corpus" "$build/fuzz-crashes"
cp "$root"/tests/data/*.answer.xml "$root"/fuzz/corpus/* "$corpus"/ 2>/dev/null || true
cd "$build/fuzz-crashes"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:verify_asan_link_order=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  "$build/fuzz/answer_fuzzer" -max_total_time="$seconds" -timeout=15 -rss_limit_mb=4096 -max_len=16384 \
  -print_final_stats=1 "$corpus"
