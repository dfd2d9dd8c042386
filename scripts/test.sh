#!/usr/bin/env bash
# Sets up a fresh Debian machine, builds and runs every test: the suite as
# built for use, then again under AddressSanitizer and UndefinedBehaviorSanitizer,
# then the bounded fuzz run, the hostile-device matrix, the concurrency check
# and the Python package's tests.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${SKIP_DEPS:-0}" != 1 ]; then bash scripts/deps.sh; fi
jobs=$(nproc)

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"

# One sanitizer build serves this suite and the answer fuzzer (test-extra.d).
sh fuzz/configure.sh build-asan -DWS_BUILD_BENCH=OFF
cmake --build build-asan -j"$jobs"
ctest --test-dir build-asan --output-on-failure -j"$jobs"

for extra in scripts/test-extra.d/*.sh; do
  [ -e "$extra" ] || continue
  echo "== $extra"
  bash "$extra"
done
echo "all tests passed"
