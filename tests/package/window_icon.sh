#!/usr/bin/env bash
# The built window program, started under Xvfb as a desktop starts it, shows the program's
# icon as its window icon (_NET_WM_ICON), from the pictures built into the program when
# no icon theme has it.
# Usage: tests/package/window_icon.sh PROGRAM PICTURE
set -euo pipefail
program=$(realpath "$1")
picture=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cat >"$work/inside.sh" <<'INNER'
program=$1
picture=$2
"$program" "$picture" &
pid=$!
window=
for _ in $(seq 1 150); do
  window=$(xdotool search --pid "$pid" --name '^Korvanth$' 2>/dev/null | head -n 1)
  [ -n "$window" ] && break
  sleep 0.2
done
if [ -z "$window" ]; then echo "no window" >&2; kill "$pid"; exit 1; fi
sleep 0.5
# The icon as numbers: width, height, then width x height ARGB pixels, for each size.
xprop -len 4000000 -id "$window" -f _NET_WM_ICON 32c '=$0+\n' _NET_WM_ICON
kill "$pid"
INNER
# No icon theme is found in an empty data folder: the built-in pictures must serve.
env -u QT_QPA_PLATFORM XDG_DATA_DIRS="$work" XDG_DATA_HOME="$work" XDG_CONFIG_HOME="$work" \
  XDG_RUNTIME_DIR="$work" "$(dirname "$0")/../support/private_display.sh" 800x600 \
  bash "$work/inside.sh" "$program" "$picture" |
  sed -n 's/^_NET_WM_ICON[^=]*=//p' | tr -d ' ' >"$work/icon.txt" || true

# Walk the sizes; in the 32 x 32 picture, pixel (5, 5) lies inside the top-left tile,
# grass green #7cb342 and opaque, by the drawing in packaging/icons/korvanth.svg.
tr ',' '\n' <"$work/icon.txt" | awk '
  { v[n++] = $1 }
  END {
    i = 0; sizes = ""; pixel = -1
    while (i + 2 <= n) {
      w = v[i]; h = v[i + 1]
      if (w <= 0 || h <= 0 || i + 2 + w * h > n) { print "broken _NET_WM_ICON entry at " i; exit 1 }
      if (w != h) { print "icon picture not square: " w " x " h; exit 1 }
      sizes = sizes " " w "x" h
      if (w == 32) pixel = v[i + 2 + 5 * 32 + 5]
      i += 2 + w * h
    }
    if (sizes == "") { print "the window has no icon"; exit 1 }
    if (sizes !~ / 16x16/ || sizes !~ / 32x32/) { print "the icon lacks 16 or 32 pixels:" sizes; exit 1 }
    if (pixel != 4286362434) { printf "pixel (5, 5) of the 32-pixel icon is %x, not ff7cb342\n", pixel; exit 1 }
    print "window icon sizes:" sizes
  }'
