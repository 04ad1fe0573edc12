#!/usr/bin/env bash
# Replays the regression corpus and the seeds through a converter (the sanitizer build's in
# ./test.sh). A regression file must be refused with exit status 1 and exactly one line on
# standard error, unless its name starts with "loads-": such a file, and every seed, must
# convert (exit 0; warnings allowed). No run may print a sanitizer report.
# Usage: tests/fuzz/replay.sh CONVERTER
set -euo pipefail
converter=$(realpath "$1")
cd "$(dirname "$0")"
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/../lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

failures=0
count=0
check() {
  local file=$1 expected=$2 status=0
  "$converter" --format roof "$file" "$out/sheet.png" 2>"$out/stderr" >/dev/null || status=$?
  count=$((count + 1))
  local lines problem=
  lines=$(wc -l <"$out/stderr")
  if grep -qE 'Sanitizer|runtime error' "$out/stderr"; then
    problem="a sanitizer report"
  elif [ "$status" != "$expected" ]; then
    problem="exit status $status, not $expected"
  elif [ "$expected" = 1 ] && [ "$lines" != 1 ]; then
    problem="$lines lines on standard error, not one"
  elif [ "$expected" = 0 ] && grep -qv ': warning: ' "$out/stderr"; then
    problem="more than warnings on standard error"
  fi
  if [ -n "$problem" ]; then
    failures=$((failures + 1))
    echo "replay: $file: $problem:" >&2
    head -n 20 "$out/stderr" >&2
  fi
}

for file in regressions/*; do
  case ${file##*/} in
    loads-*) check "$file" 0 ;;
    *) check "$file" 1 ;;
  esac
done
for file in seeds/*/*; do check "$file" 0; done
echo "replay: $count files, $failures failed"
[ "$failures" = 0 ]
