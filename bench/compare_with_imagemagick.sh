#!/usr/bin/env bash
# Whole-process timing, side by side in one run: korvanth-convert against ImageMagick's
# convert building the same Terrain2 sheet (block at 96,160) from the same 1024 x 1024
# tile-like PNG (the sample picture tiled), and korvanth-convert --version against
# /bin/true. Checks that the sheets are equal, then times the pairs with hyperfine and
# prints each ratio of medians (korvanth-convert / the other; lower is better).
# Run after ./test.sh or scripts/build.sh build (KORVANTH_BUILD names another build).
set -euo pipefail
cd "$(dirname "$0")/.."
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
program=${KORVANTH_BUILD:-build}/cli/korvanth-convert

# Tile art: the sample's blocks repeated over 1024 x 1024.
convert samples/sample-tiles.png -write mpr:t +delete -size 1024x1024 tile:mpr:t \
  PNG32:"$work/input.png"

magick_cmd=$(python3 bench/imagemagick_sheet.py "$work/input.png" "PNG32:$work/magick.png" 96 160 terrain2)
ours_cmd="$program --format terrain2 --origin 96,160 $work/input.png $work/ours.png"

eval "$magick_cmd"
$ours_cmd
if compare -metric AE "$work/ours.png" "$work/magick.png" null: 2>"$work/ae"; then
  echo "Sheets are equal (differing pixels: $(cat "$work/ae"))."
else
  echo "Sheets differ: $(cat "$work/ae") pixels" >&2
  exit 1
fi

ratio() {  # JSON NAME_OURS NAME_THEIRS
  python3 - "$@" <<'PY'
import json, sys
results = {r["command"]: r["median"] for r in json.load(open(sys.argv[1]))["results"]}
ours, theirs = results[sys.argv[2]], results[sys.argv[3]]
print(f"medians: {sys.argv[2]} {ours * 1000:.2f} ms, {sys.argv[3]} {theirs * 1000:.2f} ms, "
      f"ratio {ours / theirs:.3f}")
PY
}
hyperfine -N --warmup 5 --min-runs 50 --export-json "$work/sheet.json" \
  -n korvanth-convert "$ours_cmd" -n "ImageMagick convert" "$magick_cmd" >/dev/null
ratio "$work/sheet.json" korvanth-convert "ImageMagick convert"
hyperfine -N --warmup 20 --min-runs 300 --export-json "$work/start.json" \
  -n "korvanth-convert --version" "$program --version" -n /bin/true /bin/true >/dev/null
ratio "$work/start.json" "korvanth-convert --version" /bin/true
