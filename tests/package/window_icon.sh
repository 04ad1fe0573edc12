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
env -u QT_QPA_PLATFORM XDG_DATA_DIRS="$work" XDG_DATA_HOME="$work" \
  XDG_RUNTIME_DIR="$work" xvfb-run -a -s "-screen 0 800x600x24" \
  bash "$work/inside.sh" "$program" "$picture" 2>/dev/null |
  sed -n 's/^_NET_WM_ICON[^=]*=//p' | tr -d ' ' >"$work/icon.txt"

# Walk the sizes; in the 32 x 32 picture, pixel (5, 5) lies inside the top-left tile,
# grass green #7cb342 and opaque, by the drawing in packaging/icons/korvanth.svg.
python3 - "$work/icon.txt" <<'PY'
import sys
values = [int(v) for v in open(sys.argv[1]).read().strip().split(',') if v]
sizes, pixel, i = [], None, 0
while i + 2 <= len(values):
    w, h = values[i], values[i + 1]
    pixels = values[i + 2:i + 2 + w * h]
    if w <= 0 or h <= 0 or len(pixels) != w * h:
        sys.exit(f"broken _NET_WM_ICON entry at {i}: {w} x {h}")
    sizes.append((w, h))
    if (w, h) == (32, 32):
        pixel = pixels[5 * 32 + 5] & 0xFFFFFFFF
    i += 2 + w * h
if not sizes:
    sys.exit("the window has no icon")
if any(w != h for w, h in sizes):
    sys.exit(f"icon pictures are not square: {sizes}")
if (16, 16) not in sizes or (32, 32) not in sizes:
    sys.exit(f"the icon lacks 16 or 32 pixels: {sizes}")
if pixel != 0xFF7CB342:
    sys.exit(f"pixel (5, 5) of the 32-pixel icon is {pixel:08x}, not ff7cb342")
print("window icon sizes:", " ".join(f"{w}x{h}" for w, h in sorted(sizes)))
PY
