# 10,000 rounds of calls under valgrind: nothing leaks, the heap stays flat.
set -eu
valgrind -q --leak-check=full --errors-for-leak-kinds=definite,indirect --error-exitcode=1 \
  build/fuzz/repeat_calls 10000
