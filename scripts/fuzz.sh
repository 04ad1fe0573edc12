#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, ASan + UBSan) into build-fuzz/ when needed and runs
# each for SECONDS (default 60), one after another, from the seed and regression corpora.
# New inputs gather in build-fuzz/corpus/TARGET/, logs in build-fuzz/logs/. Any finding
# (crash, sanitizer report, leak, timeout, out of memory) makes it exit 1 and name the
# saved reproducer under build-fuzz/findings/TARGET/.
# Usage: scripts/fuzz.sh [SECONDS] [TARGET...]   (KORVANTH_FUZZ_BUILD picks another tree)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
build=${KORVANTH_FUZZ_BUILD:-build-fuzz}
fuzz=tests/fuzz

targets=("$@")
if ((${#targets[@]} == 0)); then
  targets=(fuzz_picture_header fuzz_decode_png fuzz_decode_jpeg fuzz_decode_gif fuzz_decode_tiff
    fuzz_decode_bmp fuzz_load_convert fuzz_block_names fuzz_block_map fuzz_settings)
fi

mkdir -p "$build/logs"
CXX=${CXX:-clang++-14} nice scripts/build.sh "$build" -DKORVANTH_FUZZ=ON \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -- "${targets[@]}"

# Each decoder starts from its own type's seeds; the header reader and the whole path from
# all of them. Every target gets the whole regression corpus.
seeds_of() {
  case $1 in
    fuzz_decode_*) echo "$fuzz/seeds/${1#fuzz_decode_}" ;;
    fuzz_block_names) echo "$fuzz/names-seeds" ;;
    fuzz_block_map) echo "$fuzz/map-seeds" ;;
    fuzz_settings) echo "$fuzz/settings-seeds" ;;
    *) echo "$fuzz"/seeds/* ;;
  esac
}

export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# One target a core at once: each run is single-threaded and bound by time, not work.
run_target() {  # TARGET: its run, then its lines, into $build/logs/TARGET.result
  local target=$1 corpus=$build/corpus/$1 findings=$build/findings/$1 log=$build/logs/$1.log
  local result=$build/logs/$1.result status runs
  rm -f "$result"
  mkdir -p "$corpus" "$findings"
  # shellcheck disable=SC2046  # seeds_of gives folder names without spaces
  if nice "$build/tests/fuzz/$target" -max_total_time="$seconds" -timeout=10 \
    -rss_limit_mb=2560 -print_final_stats=1 -artifact_prefix="$findings/" \
    "$corpus" $(seeds_of "$target") "$fuzz/regressions" >"$log" 2>&1; then
    # The last status line: coverage (cov), features (ft) and corpus size.
    status=$(grep -E '^#[0-9]+' "$log" | tail -n 1)
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "$target: ${runs:-0} runs; ${status#*	}" >"$result"
  else
    {
      echo "FINDING"
      echo "$target: FINDING (log: $log)"
      # The report's first line, with the target's own complaint just before it.
      grep -m 1 -B 1 -E '(==[0-9]+== ?ERROR|runtime error)' "$log" || true
      grep -E 'Test unit written to' "$log" | sed 's/^.*written to /  reproducer saved: /' || true
    } >"$result"
  fi
}

cores=$(nproc)
running=0
for target in "${targets[@]}"; do
  if ((running >= cores)); then
    wait -n || true
    running=$((running - 1))
  fi
  run_target "$target" &
  running=$((running + 1))
done
wait

failed=0
for target in "${targets[@]}"; do
  result=$build/logs/$target.result
  if [ "$(head -n 1 "$result")" = FINDING ]; then
    failed=1
    tail -n +2 "$result" >&2
  else
    cat "$result"
  fi
done
exit "$failed"
