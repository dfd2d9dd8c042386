# The fuzzers (answers, JSON input) for a bounded time in all, under
# AddressSanitizer and UBSan, in the sanitizer build the suite ran in.
set -eu
WS_FUZZ_BUILD=$PWD/build-asan bash fuzz/run.sh "${WS_FUZZ_SECONDS:-40}"
