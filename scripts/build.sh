#!/usr/bin/env bash
# Configures and builds one build tree, saying what it does: a line for each step, then
# CMake's and Ninja's own lines (one [n/m] line a step when the output is not a terminal,
# so logs stay plain text).
# Usage: scripts/build.sh DIR [cmake options...] [-- TARGET...]   (every target by default)
set -euo pipefail
cd "$(dirname "$0")/.."
dir=$1
shift
options=()
targets=()
while (($#)); do
  if [ "$1" = -- ]; then
    shift
    targets=("$@")
    break
  fi
  options+=("$1")
  shift
done
if [ ! -f "$dir/build.ninja" ]; then
  echo "== configuring $dir/ (cmake${options[*]:+ ${options[*]}})"
  cmake -S . -B "$dir" -G Ninja "${options[@]}"
fi
# A target this configuration does not make (the window without KORVANTH_BUILD_GUI) is
# left out with a note rather than failing the build.
known=()
for target in "${targets[@]}"; do
  if ninja -C "$dir" -t query "$target" >/dev/null 2>&1; then
    known+=("$target")
  else
    echo "(no target $target in $dir/: skipped)"
  fi
done
if ((${#targets[@]})) && ! ((${#known[@]})); then
  echo "none of ${targets[*]} is built in $dir/" >&2
  exit 1
fi
targets=("${known[@]}")
# Ninja then prints [n/m] before each step: m is the number of steps this build runs.
if ((${#targets[@]})); then
  echo "== building ${targets[*]} in $dir/ (these targets and what they need)"
  cmake --build "$dir" -j "$(nproc)" --target "${targets[@]}"
else
  echo "== building $dir/ (every target)"
  cmake --build "$dir" -j "$(nproc)"
fi
