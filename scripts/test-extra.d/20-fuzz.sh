# The answer fuzzer for a bounded time, under AddressSanitizer and UBSan.
set -eu
bash fuzz/run.sh "${WS_FUZZ_SECONDS:-60}"
