#!/bin/sh
# Builds the library and the concurrency check with ThreadSanitizer (clang,
# build-tsan/) and runs the check against the simulator of the plain build
# ($WS_SIM, default build/sim/webservice-sim): the threads under test are the
# library's.  The executable carries the sanitizer runtime; the shared library
# takes its symbols from it at load time, so its link may leave them undefined
# (-z undefs, last).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${WS_TSAN_BUILD:-$root/build-tsan}
sim=${WS_SIM:-$root/build/sim/webservice-sim}
[ -x "$sim" ] || { echo "tsan.sh: no simulator at $sim (build it, or set WS_SIM)" >&2; exit 1; }
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DWS_SANITIZE=thread \
  -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O2 -gline-tables-only -DNDEBUG" -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -gline-tables-only -DNDEBUG" \
  "-DCMAKE_CXX_CREATE_SHARED_LIBRARY=<CMAKE_CXX_COMPILER> <CMAKE_SHARED_LIBRARY_CXX_FLAGS> <LANGUAGE_COMPILE_FLAGS> <LINK_FLAGS> <CMAKE_SHARED_LIBRARY_CREATE_CXX_FLAGS> <SONAME_FLAG><TARGET_SONAME> -o <TARGET> <OBJECTS> <LINK_LIBRARIES> -Wl,-z,undefs" \
  -DWS_BUILD_SIM=OFF -DWS_BUILD_TOOLS=OFF -DWS_BUILD_BENCH=OFF "-DWS_SIM_PROGRAM=$sim" >/dev/null
cmake --build "$build" -j2 --target concurrency_test >"$build/build.log" 2>&1 || { tail -40 "$build/build.log"; exit 1; }
TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 "$build/fuzz/concurrency_test"
