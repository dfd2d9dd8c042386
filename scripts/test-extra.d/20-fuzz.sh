# The answer fuzzer for a bounded time, under AddressSanitizer and UBSan, in
# the sanitizer build the suite ran in.
set -eu
WS_FUZZ_BUILD=$PWD/build-asan bash fuzz/run.sh "${WS_FUZZ_SECONDS:-60}"
