# Eight threads calling different exports against the simulator, under ThreadSanitizer.
set -eu
bash fuzz/tsan.sh
