#!/usr/bin/env bash
# Sets up a fresh Debian machine, builds and runs every test: the suite as
# built for use, then again under AddressSanitizer and UndefinedBehaviorSanitizer,
# then the bounded fuzz run, the hostile-device matrix, the concurrency check,
# the Python package's tests and the Ansible collection's.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${SKIP_DEPS:-0}" != 1 ]; then bash scripts/deps.sh; fi
jobs=$(nproc)
# Each stage's wall time, printed as it ends and summed up at the end.
stage_start=0
timings=""
stage() {
  timings="$timings$(printf '%-28s %4d s' "$1" $((SECONDS - stage_start)))\n"
  echo "== $1: $((SECONDS - stage_start)) s"
  stage_start=$SECONDS
}
stage "packages"

# The library and its programs optimised as for use, without debug information
# (a third of the compile time), the generated code at -O1 (half the time of
# -O2); test programs unoptimised (CMakeLists.txt).
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_C_FLAGS_RELEASE="-O2 -DNDEBUG" \
  -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" -DWS_SOAP_OPTIMIZE=-O1
cmake --build build -j"$jobs"
stage "build"
ctest --test-dir build --output-on-failure -j"$jobs"
stage "suite"

# One sanitizer build serves this suite and the answer fuzzer (test-extra.d).
sh fuzz/configure.sh build-asan -DWS_BUILD_BENCH=OFF
cmake --build build-asan -j"$jobs"
stage "sanitizer build"
ctest --test-dir build-asan --output-on-failure -j"$jobs"
stage "sanitizer suite"

for extra in scripts/test-extra.d/*.sh; do
  [ -e "$extra" ] || continue
  echo "== $extra"
  bash "$extra"
  stage "$(basename "$extra" .sh)"
done
printf "$timings"
echo "all tests passed in $SECONDS s"
