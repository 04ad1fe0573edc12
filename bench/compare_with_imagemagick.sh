#!/usr/bin/env bash
# Whole-process timing: korvanth-convert against ImageMagick's convert, both building the
# same Terrain1 sheet from the same 1024 x 1024 PNG. Checks that the sheets are equal,
# then times both with hyperfine. Run after ./test.sh or scripts/build.sh build.
set -euo pipefail
cd "$(dirname "$0")/.."
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# An opaque 1024 x 1024 picture with plenty of detail.
convert -size 1024x1024 plasma:fractal -seed 7 PNG32:"$work/input.png" 2>/dev/null ||
  convert -size 1024x1024 gradient:red-blue PNG32:"$work/input.png"

magick_cmd=$(python3 bench/imagemagick_sheet.py "$work/input.png" "PNG32:$work/magick.png" 320 480)
ours_cmd="${KORVANTH_BUILD:-build}/cli/korvanth-convert --origin 320,480 $work/input.png $work/ours.png"

eval "$magick_cmd"
$ours_cmd
if compare -metric AE "$work/ours.png" "$work/magick.png" null: 2>"$work/ae"; then
  echo "Sheets are equal (differing pixels: $(cat "$work/ae"))."
else
  echo "Sheets differ: $(cat "$work/ae") pixels" >&2
  exit 1
fi

hyperfine --warmup 3 --min-runs 20 -N --export-markdown "$work/times.md" \
  -n korvanth-convert "$ours_cmd" -n "ImageMagick convert" "$magick_cmd" 2>/dev/null ||
  hyperfine --warmup 3 --min-runs 20 --export-markdown "$work/times.md" \
    -n korvanth-convert "$ours_cmd" -n "ImageMagick convert" "$magick_cmd"
cat "$work/times.md"
