#!/bin/sh
# Builds the fuzzers with clang (libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer; the library built with the same sanitizers and
# coverage, see fuzz/configure.sh) in build-fuzz/ or $WS_FUZZ_BUILD, runs the
# hostile-device matrix there, then fuzzes for a bounded time in all: two
# thirds to the answer fuzzer (seeds: the answers of tests/golden/*.txt and
# fuzz/corpus/), one third to the JSON input fuzzer (seeds fuzz/corpus-json/).
#   fuzz/run.sh [seconds, default 60]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${WS_FUZZ_BUILD:-$root/build-fuzz}
seconds=${1:-60}
json_seconds=$((seconds >= 3 ? seconds / 3 : 1))
# A build already configured (scripts/test.sh runs the suite in one) is
# reused; otherwise one is configured with just the library and the fuzzers.
[ -f "$build/CMakeCache.txt" ] || sh "$root/fuzz/configure.sh" "$build" -DWS_BUILD_TOOLS=OFF -DWS_BUILD_SIM=OFF
cmake --build "$build" -j2 --target answer_fuzzer json_input_fuzzer hostile_test >"$build/build.log" 2>&1 ||
  { tail -40 "$build/build.log"; exit 1; }
"$build/fuzz/hostile_test"
mkdir -p "$build/fuzz-corpus" "$build/fuzz-corpus-json" "$build/fuzz-crashes"
cp "$root"/fuzz/corpus/* "$build/fuzz-corpus"/ 2>/dev/null || true
# Each golden file's first answer, in a SOAP envelope.
for file in "$root"/tests/golden/*.txt; do
  awk '/^--- answer/ {on = 1; next} /^--- / {if (on) exit} on' "$file" |
    sed '1i <?xml version="1.0" encoding="utf-8"?><soap:Envelope xmlns:soap="http://schemas.xmlsoap.org/soap/envelope/" xmlns:ns1="http://tempuri.org/"><soap:Body>' |
    sed '$a </soap:Body></soap:Envelope>' >"$build/fuzz-corpus/golden-$(basename "$file" .txt).xml"
done
cp "$root"/fuzz/corpus-json/* "$build/fuzz-corpus-json"/
cd "$build/fuzz-crashes"
# fuzz FUZZER SECONDS CORPUS
fuzz() {
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:verify_asan_link_order=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    "$build/fuzz/$1" -max_total_time="$2" -timeout=15 -rss_limit_mb=4096 -max_len=16384 -print_final_stats=1 "$3"
}
fuzz answer_fuzzer $((seconds - json_seconds)) "$build/fuzz-corpus"
fuzz json_input_fuzzer "$json_seconds" "$build/fuzz-corpus-json"
