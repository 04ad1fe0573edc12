#!/usr/bin/env bash
# Runs Korvanth: installs what is missing, builds, and opens the window on PICTURE (or on
# the bundled sample). Without a display it converts the sample with korvanth-convert.
set -euo pipefail
cd "$(dirname "$0")"
# Only what the two programs need: the tests' packages are ./test.sh's to install.
scripts/install-deps.sh run
# The two programs alone. A tree configured here leaves the tests and benchmarks out (their
# libraries are not installed); ./test.sh turns them on in it.
scripts/build.sh build -DKORVANTH_BUILD_TESTS=OFF -DKORVANTH_BUILD_BENCH=OFF -- korvanth \
  korvanth-convert

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] || [ -n "${QT_QPA_PLATFORM:-}" ]; then
  if [ -x build/app/korvanth ]; then
    # Without PICTURE the window opens the sample the build put in build/share/korvanth/.
    echo "== starting build/app/korvanth ${1:-(the sample)}"
    exec build/app/korvanth "$@"
  fi
  echo "The window program is not built on this machine; converting instead." >&2
else
  echo "No display found (DISPLAY/WAYLAND_DISPLAY unset): converting the picture instead." >&2
fi

picture=${1:-samples/sample-tiles.png}
out=build/sample-sheets
mkdir -p "$out"
if [ -f "$picture.blocks" ]; then
  # The picture's block map gives every block its own format and name.
  echo "== converting $picture: every block of its map $picture.blocks into $out/"
  build/cli/korvanth-convert --all "$picture" "$out"
  echo "Sheets written under $out/ (one a block of the map)." >&2
else
  for format in terrain1 terrain2 roof; do
    echo "== converting $picture: every $format block into $out/$format/"
    build/cli/korvanth-convert --format "$format" --all "$picture" "$out/$format"
  done
  echo "Sheets written under $out/ (one folder per layout format)." >&2
fi
