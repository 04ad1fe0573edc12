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

hyperfine --warmup 3 --min-runs 30 --export-json "$work/times.json" \
  -n korvanth-convert "$ours_cmd" -n "ImageMagick convert" "$magick_cmd"
python3 - "$work/times.json" <<'PY'
import json, sys
results = {r["command"]: r["median"] for r in json.load(open(sys.argv[1]))["results"]}
ours, theirs = results["korvanth-convert"], results["ImageMagick convert"]
print(f"medians: korvanth-convert {ours * 1000:.1f} ms, ImageMagick convert {theirs * 1000:.1f} ms, "
      f"ratio {theirs / ours:.2f}")
PY
