#!/usr/bin/env bash
# The Windows converter, built against the real windows.h and GDI+, run under Wine (whose
# GDI+ does the decoding, drawing and encoding): its sheets must be pixel for pixel the
# ones the Linux converter writes, its exit codes and warnings the same.
# Usage: tests/windows/wine_smoke.sh LINUX_CONVERTER WINDOWS_CONVERTER
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
linux=$(realpath "$1")
windows=$(realpath "$2")
work=$(mktemp -d)
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$work"' EXIT
export WINEPREFIX="$work/prefix" WINEDEBUG=-all
cp "$root/samples/sample-tiles.png" "$work/in.png"
cd "$work"

passed=0
failed=0
check() {
  if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: $*" >&2; fi
}
same_pixels() { compare -metric AE "$1" "$2" null: 2>/dev/null; }

wine "$windows" --version >/dev/null 2>&1 || true  # the first run creates the prefix
for format in terrain1 terrain2 roof; do
  check wine "$windows" --format "$format" --origin 64,32 in.png "win-$format.png"
  "$linux" --format "$format" --origin 64,32 in.png "linux-$format.png"
  check same_pixels "win-$format.png" "linux-$format.png"
done

check wine "$windows" --format roof --all in.png batch
check test "$(ls batch | wc -l)" -eq 12

# An unknown extension: the warning, BMP content, the name kept; Japanese names pass.
wine "$windows" in.png "シート.dat" 2>warning.txt
check grep -q "ビットマップ形式で保存します" warning.txt
check test "$(head -c 2 "シート.dat")" = BM

# A missing input is exit status 1, a usage error 2.
set +e
wine "$windows" missing.png out.png 2>/dev/null; missing=$?
wine "$windows" --format hexagon in.png out.png 2>/dev/null; usage=$?
set -e
check test "$missing" -eq 1
check test "$usage" -eq 2
check test ! -e out.png

echo "Windows converter under Wine: $passed passed, $failed failed"
test "$failed" -eq 0
