#!/usr/bin/env bash
# The README's window pictures, from the Linux window on a private X server (no window
# manager, so no frames) with the bundled sample:
# - docs/window-zoom-preview.png: at 3x, the block over the grass block at the top-left
#   corner, the sheet preview beside the window;
# - docs/window-scale2.png: at device pixel ratio 2 (QT_SCALE_FACTOR=2), zoomed to 2x, the
#   block on cell (1, 1).
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
stop() {
  if [ -n "$app_pid" ]; then kill "$app_pid" 2>/dev/null || true; fi
  wait "$app_pid" 2>/dev/null || true
  app_pid=
  wd_stop
  WD_XVFB_PID=
}
trap 'stop; rm -rf "$WD_WORK"' EXIT
cd "$WD_WORK"

# The window on the sample at the screen's top-left corner, with the environment given
# (NAME=VALUE ...); sets `window`, and wx wy ww wh to its geometry in device pixels.
open_window() {
  env XDG_CONFIG_HOME="$WD_WORK" QT_QPA_PLATFORM=xcb "$@" "$program" "$sample" >app.log 2>&1 &
  app_pid=$!
  window=$(wd_wait_window "^$(basename "$sample") - Korvanth\$" 60)
  sleep 1
  xdotool windowmove "$window" 0 0
  xdotool mousemove 1000 700
  sleep 1
  read -r wx wy ww wh < <(geometry "$window")
}

# The X, Y, width and height of a window, on one line.
geometry() {
  xdotool getwindowgeometry --shell "$1" |
    awk -F= '/^X=/{x=$2} /^Y=/{y=$2} /^WIDTH=/{w=$2} /^HEIGHT=/{h=$2} END{print x, y, w, h}'
}

# Where the picture starts on the screen, each picture pixel $1 screen pixels wide: the
# first screen row that shows the sample's rows 1 and 2 (row 0 carries the grid) in its
# column 100, and the first screen column showing its columns 1 and 2 in row 100 (clear of
# the grid and of the block, which starts at the top-left corner). Sets `left` and `top`.
# The screen's colours may be off by a step or two.
find_picture() {
  wd_screenshot start.png
  top=$(first_pair "$1" 1x2+100+1 "1x200+$((wx + 100 * $1))+$wy")
  left=$(first_pair "$1" 2x1+1+100 "60x1+$wx+$((wy + top + 100 * $1))")
  if [ -z "$top" ] || [ -z "$left" ]; then
    echo "the picture's top-left was not found on the screen" >&2
    exit 1
  fi
  top=$((wy + top))
  left=$((wx + left))
}
# PICTURE GEOMETRY: the pixels of a crop as "R G B" lines.
pixels() {
  convert "$1" -crop "$2" +repage -depth 8 txt:- |
    awk -F'[(),]' 'NR > 1 {print int($3), int($4), int($5)}'
}
# STEP SAMPLE_GEOMETRY SCREEN_GEOMETRY: the first screen pixel showing the sample's first
# pixel with its second STEP further on, less STEP.
first_pair() {
  (pixels "$sample" "$2"; pixels start.png "$3") | awk -v step="$1" '
    function near(a, b) { return a - b <= 4 && b - a <= 4 }
    function at(i, k) { return near(R[i], r[k]) && near(G[i], g[k]) && near(B[i], b[k]) }
    NR <= 2 { r[NR] = $1; g[NR] = $2; b[NR] = $3; next }
    { i = NR - 3; R[i] = $1; G[i] = $2; B[i] = $3 }
    END {
      for (i = 0; i + step in R; ++i)
        if (at(i, 1) && at(i + step, 2)) {
          print i - step
          exit
        }
    }'
}

# At 3x with the preview. Ctrl+wheel zooms around the picture's top-left pixel, which
# stays in the corner; the preview comes from the view menu; the pointer over cell (0, 0)
# puts the block on cells (0, 0) to (1, 2), the grass block.
wd_start_x 1024x768
open_window
find_picture 1
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
stop

# At device pixel ratio 2 and 2x, where the whole sample fits in the window: 4 device
# pixels a picture pixel, the pointer on cell (1, 1).
wd_start_x 1280x1100
open_window QT_SCALE_FACTOR=2
find_picture 2
xdotool mousemove $((left + 20)) $((top + 20))
sleep 0.5
xdotool keydown ctrl click 4 keyup ctrl
sleep 1
xdotool mousemove $((left + 4 * 48)) $((top + 4 * 48))
sleep 1
wd_screenshot screen.png
convert screen.png -crop "${ww}x${wh}+${wx}+${wy}" +repage "$root/docs/window-scale2.png"
echo "$root/docs/window-scale2.png: ${ww} x ${wh}"
