#!/usr/bin/env bash
# Plants the faults of scripts/mutants/*.patch one at a time in a scratch copy
# of the tree (never in this one), rebuilds it incrementally, runs the plain
# suite and prints which faults a test caught, and which test.  A fault that
# no test catches is a gap in the tests, or a change that behaves exactly as
# the original (its patch says which).
#   scripts/mutants.sh [patch ...]      (default: every patch)
# Settings: WS_MUTANTS_DIR (scratch copy, default /tmp/ws-mutants),
# WS_MUTANTS_MINUTES (no fault is started after this many minutes, default 20).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
scratch=${WS_MUTANTS_DIR:-/tmp/ws-mutants}
budget=$((${WS_MUTANTS_MINUTES:-20} * 60))
patches=("$@")
[ ${#patches[@]} -gt 0 ] || patches=("$root"/scripts/mutants/*.patch)
start=$SECONDS

# The scratch copy holds the tracked files as they are in the working tree;
# its build is kept between runs, so only what a fault touches is rebuilt.
# A file is copied only when its content differs, and then gets a new time,
# so that the build sees every change (a copy keeping the tree's older time
# would leave an object built from a fault in place).
mkdir -p "$scratch/src"
(cd "$root" && git ls-files -z) | while IFS= read -r -d '' file; do
  cmp -s "$root/$file" "$scratch/src/$file" && continue
  mkdir -p "$(dirname "$scratch/src/$file")"
  cp "$root/$file" "$scratch/src/$file"
done
launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache); fi
cmake -S "$scratch/src" -B "$scratch/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DWS_BUILD_BENCH=OFF \
  "${launcher[@]}" >"$scratch/configure.log"
build() { cmake --build "$scratch/build" -j"$(nproc)" >"$scratch/build.log" 2>&1; }
# The suite, stopped at its first failure; prints the failing tests' names.
suite() {
  ctest --test-dir "$scratch/build" -j"$(nproc)" --stop-on-failure --timeout 120 >"$scratch/ctest.log" 2>&1 && return 0
  sed -n 's/^[[:space:]]*[0-9]* - \(.*\) (.*/\1/p' "$scratch/ctest.log" | paste -sd ' ' -
  return 1
}
echo "== baseline"
build || { tail -30 "$scratch/build.log"; exit 1; }
if failing=$(suite); then :; else echo "the suite fails without any fault: $failing"; exit 1; fi

printf '%-44s %s\n' fault result
caught=0 missed=0 skipped=0
for patch in "${patches[@]}"; do
  name=$(basename "$patch" .patch)
  if [ $((SECONDS - start)) -ge "$budget" ]; then
    printf '%-44s %s\n' "$name" "not run (time budget)"; skipped=$((skipped + 1)); continue
  fi
  if ! patch -s -p1 -d "$scratch/src" <"$patch"; then
    printf '%-44s %s\n' "$name" "patch does not apply"; missed=$((missed + 1)); continue
  fi
  if ! build; then
    result="caught by the build"; caught=$((caught + 1))
  elif failing=$(suite); then
    result="NOT CAUGHT"; missed=$((missed + 1))
  else
    result="caught by ${failing:-the suite}"; caught=$((caught + 1))
  fi
  patch -s -R -p1 -d "$scratch/src" <"$patch"
  printf '%-44s %s\n' "$name" "$result"
done
echo "$caught caught, $missed not caught, $skipped not run, in $(((SECONDS - start) / 60)) min"
