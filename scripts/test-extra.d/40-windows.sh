# The Windows DLLs (64-bit and 32-bit), cross-built with mingw-w64, and their
# tests under Wine against the simulator of the build above.
set -eu
bash scripts/windows.sh
