#!/bin/sh
# Configures a build in which both the test suite and the answer fuzzer run:
# clang, AddressSanitizer and UndefinedBehaviorSanitizer on every target, and
# the fuzzer's coverage on every object, and every warning of the project's
# own code an error (the build's warnings-as-errors leg).  The library is a
# shared object, so it and the executables share the sanitizer runtime's
# shared build.
#   fuzz/configure.sh BUILD_DIR [cmake options]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=$1
shift
# Line tables are all a sanitizer report needs: full debug information costs a
# quarter of the compile time.
flags="-O2 -gline-tables-only -DNDEBUG"
rtdir=$(dirname "$(clang++ -print-file-name=libclang_rt.asan-x86_64.so)")
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_FLAGS_RELWITHDEBINFO="$flags" -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="$flags" \
  -DWS_SANITIZE=address,undefined -DWS_WERROR=ON -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link \
  -DCMAKE_SHARED_LINKER_FLAGS="-shared-libasan -Wl,-rpath,$rtdir" -DCMAKE_EXE_LINKER_FLAGS="-shared-libasan -Wl,-rpath,$rtdir" \
  "$@" >/dev/null
