#!/usr/bin/env bash
# The Linux window on an X display at device pixel ratio 2 (QT_SCALE_FACTOR=2): at 1x and
# zoomed, every window pixel of the picture, grid and block is a whole 2 x 2 square of
# device pixels (nothing blurred between them).
# Usage: tests/x11/scale2_check.sh WINDOW_PROGRAM PICTURE
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
program=$(realpath "$1")
picture=$(realpath "$2")
WD_WORK=$(mktemp -d)
# shellcheck source=../windows/window_driver.sh
. "$root/tests/windows/window_driver.sh"
app_pid=
cleanup() {
  if [ -n "$app_pid" ]; then kill "$app_pid" 2>/dev/null || true; fi
  wd_stop
  rm -rf "$WD_WORK"
}
trap cleanup EXIT
cd "$WD_WORK"

passed=0
failed=0
check() {
  if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: $*" >&2; fi
}

# Differing pixels between a region and the same region sampled at half size and back:
# 0 when the region is made of whole 2 x 2 squares starting at its top-left corner.
square_errors() {
  convert "$1" -crop "$2" +repage region.png
  convert region.png -sample 50% -sample 200% resampled.png
  compare -metric AE region.png resampled.png null: 2>&1 || true
}

wd_start_x
XDG_CONFIG_HOME="$WD_WORK" QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=2 "$program" "$picture" >app.log 2>&1 &
app_pid=$!
window=$(wd_wait_window "^$(basename "$picture") - Korvanth\$" 60)
sleep 1
read -r left top < <(xdotool getwindowgeometry --shell "$window" |
  awk -F= '/^X=/{x=$2} /^Y=/{y=$2} END{print x, y}')
# Well inside the client area, on an even device pixel (window pixels start on even ones).
region="400x300+$(((left + 40) / 2 * 2))+$(((top + 120) / 2 * 2))"
shifted="400x300+$(((left + 40) / 2 * 2 + 1))+$(((top + 120) / 2 * 2))"

xdotool mousemove $((left + 200)) $((top + 240))
sleep 0.5
for zoom in 1 3; do
  wd_screenshot "zoom$zoom.png"
  check test "$(square_errors "zoom$zoom.png" "$region")" = 0
  # The same test one device pixel off must fail: the region holds detail.
  check test "$(square_errors "zoom$zoom.png" "$shifted")" != 0
  xdotool keydown ctrl click 4 click 4 keyup ctrl
  sleep 1
done

# The wheel did zoom: the view changed.
convert zoom1.png -crop "$region" +repage one.png
convert zoom3.png -crop "$region" +repage three.png
check test "$(compare -metric AE one.png three.png null: 2>&1 || true)" != 0

echo "Window at device pixel ratio 2: $passed passed, $failed failed"
test "$failed" -eq 0
