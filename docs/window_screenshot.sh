#!/usr/bin/env bash
# The README's window picture, docs/window-zoom-preview.png: the Linux window on a private
# X server (no window manager, so no frames) with the bundled sample at 3x, the block over
# the grass block at its top-left corner and the sheet preview beside the window.
# Usage: docs/window_screenshot.sh [WINDOW_PROGRAM]   (default: build/app/korvanth)
# Needs: Xvfb, xdotool, ImageMagick.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
program=$(realpath "${1:-$root/build/app/korvanth}")
sample="$root/samples/sample-tiles.png"
WD_WORK=$(mktemp -d)
# shellcheck source=../tests/windows/window_driver.sh
. "$root/tests/windows/window_driver.sh"
app_pid=
cleanup() {
  if [ -n "$app_pid" ]; then kill "$app_pid" 2>/dev/null || true; fi
  wd_stop
  rm -rf "$WD_WORK"
}
trap cleanup EXIT
cd "$WD_WORK"

# The X, Y, width and height of a window, on one line.
geometry() {
  xdotool getwindowgeometry --shell "$1" |
    awk -F= '/^X=/{x=$2} /^Y=/{y=$2} /^WIDTH=/{w=$2} /^HEIGHT=/{h=$2} END{print x, y, w, h}'
}

wd_start_x
QT_QPA_PLATFORM=xcb "$program" "$sample" >app.log 2>&1 &
app_pid=$!
window=$(wd_wait_window "^$(basename "$sample") - Korvanth\$" 60)
sleep 1
xdotool windowmove "$window" 0 0
sleep 0.5

# Where the picture starts on the screen at 1x: the first screen row below the window's
# top that shows the sample's rows 1 and 2 (row 0 carries the grid) in column 100, and
# likewise the first column showing columns 1 and 2 in row 100 (clear of the grid and of
# the block, which starts at the top-left corner). The screen's colours may be off by a
# step or two.
pixels() {  # PICTURE GEOMETRY: the pixels of a crop as "R G B" lines
  convert "$1" -crop "$2" +repage -depth 8 txt:- |
    awk -F'[(),]' 'NR > 1 {print int($3), int($4), int($5)}'
}
first_pair() {  # SAMPLE_GEOMETRY SCREEN_GEOMETRY: index of the sample's 2 pixels, less 1
  (pixels "$sample" "$1"; pixels start.png "$2") | awk '
    function near(a, b) { return a - b <= 4 && b - a <= 4 }
    NR <= 2 { r[NR] = $1; g[NR] = $2; b[NR] = $3; next }
    { i = NR - 3; R[i] = $1; G[i] = $2; B[i] = $3 }
    END {
      for (i = 0; i + 1 in R; ++i)
        if (near(R[i], r[1]) && near(G[i], g[1]) && near(B[i], b[1]) &&
            near(R[i + 1], r[2]) && near(G[i + 1], g[2]) && near(B[i + 1], b[2])) {
          print i - 1
          exit
        }
    }'
}
xdotool mousemove 1000 760
sleep 0.5
read -r wx wy ww wh < <(geometry "$window")
wd_screenshot start.png
top=$(first_pair 1x2+100+1 "1x120+$((wx + 100))+$wy")
left=$(first_pair 2x1+1+100 "40x1+$wx+$((wy + top + 100))")
if [ -z "$top" ] || [ -z "$left" ]; then
  echo "the picture's top-left was not found on the screen" >&2
  exit 1
fi
top=$((wy + top))
left=$((wx + left))

# 3x by Ctrl+wheel around the picture's top-left pixel, which stays in the corner; then
# the preview from the view menu, and the pointer over cell (0, 0): the block covers
# cells (0, 0) to (1, 2), the grass block.
xdotool mousemove "$left" "$top"
sleep 0.5
xdotool keydown ctrl click 4 click 4 keyup ctrl
sleep 1
xdotool key --window "$window" alt+v
sleep 0.5
xdotool key p
preview=$(wd_wait_window '^シートのプレビュー$' 30)
xdotool mousemove $((left + 48)) $((top + 48))
sleep 1

read -r px py pw ph < <(geometry "$preview")
right=$((px + pw > wx + ww ? px + pw : wx + ww))
bottom=$((py + ph > wy + wh ? py + ph : wy + wh))
wd_screenshot screen.png
convert screen.png -crop "${right}x${bottom}+0+0" +repage "$root/docs/window-zoom-preview.png"
echo "$root/docs/window-zoom-preview.png: ${right} x ${bottom}"
