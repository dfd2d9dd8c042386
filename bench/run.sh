#!/bin/sh
# Builds the library, the simulator and the benchmark in Release, runs every
# benchmark nine times with the repetitions of all rows interleaved in random
# order (so that the machine's slow and fast moments fall on every row alike)
# and prints the table of targets from the medians.
#   bench/run.sh [extra Google Benchmark flags, e.g. --benchmark_filter=lib/fixed]
# Figures: bench/results/benchmark.json (Google Benchmark) and
# bench/results/summary.json (rates, ratios to the raw floor, targets, RSS).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${WS_BENCH_BUILD:-$root/build-bench}
out=$root/bench/results
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j2 --target webservice_bench webservice-sim >"$build/build.log" 2>&1 || { tail -40 "$build/build.log"; exit 1; }
mkdir -p "$out"
exec "$build/bench/webservice_bench" --benchmark_repetitions=9 --benchmark_enable_random_interleaving=true \
  --benchmark_report_aggregates_only=true \
  --benchmark_out="$out/benchmark.json" --benchmark_out_format=json --summary="$out/summary.json" "$@"
