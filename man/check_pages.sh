#!/bin/sh
# Every symbol the library exports has its manual page, and every page renders
# without a warning and has the sections a reader looks for; no page is left
# without its symbol.
#   check_pages.sh LIBRARY PAGE_DIR
set -eu
library=$1
pages=$2
symbols=$(nm -D --defined-only "$library" | awk '{print $NF}')
[ -n "$symbols" ] || { echo "$library exports nothing"; exit 1; }
failed=0
for symbol in $symbols; do
  page=$pages/$symbol.3
  if [ ! -f "$page" ]; then
    echo "$symbol: no page"; failed=1; continue
  fi
  warnings=$(groff -man -Tutf8 -ww "$page" 2>&1 >/dev/null)
  if [ -n "$warnings" ]; then
    echo "$symbol: $warnings"; failed=1
  fi
  text=$(groff -man -Tutf8 -P-cbou "$page" 2>/dev/null)
  for section in NAME SYNOPSIS DESCRIPTION EXAMPLE; do
    printf '%s\n' "$text" | grep -q "^$section" || { echo "$symbol: no $section"; failed=1; }
  done
done
listed=$(ls "$pages" | wc -l)
exported=$(printf '%s\n' "$symbols" | wc -l)
[ "$listed" -eq "$exported" ] || { echo "$listed pages for $exported exported symbols"; failed=1; }
exit $failed
