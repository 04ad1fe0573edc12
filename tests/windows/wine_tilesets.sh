#!/usr/bin/env bash
# The Windows converter's tilesets under Wine: for every format the .tsx and .tres it
# writes beside a sheet are byte for byte the Linux converter's; a tileset that cannot be
# written is reported with its cause and exit status 1, and an existing one is replaced
# whole through MoveFileExW, with no temporary file left behind.
# Usage: tests/windows/wine_tilesets.sh LINUX_CONVERTER WINDOWS_CONVERTER
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
linux=$(realpath "$1")
windows=$(realpath "$2")
work=$(mktemp -d)
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$work"' EXIT
export WINEDEBUG=-all
# Uses $WINEPREFIX when set (see make_wine_prefix.sh), else makes a prefix of its own.
if [ -z "${WINEPREFIX:-}" ]; then
  "$root/tests/windows/make_wine_prefix.sh" "$work/prefix" "$windows" >/dev/null
  export WINEPREFIX="$work/prefix"
fi
cp "$root/samples/sample-tiles.png" "$work/in.png"
cd "$work"
mkdir win linux

passed=0
failed=0
check() {
  if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: $*" >&2; fi
}

for format in terrain1 terrain2 roof; do
  check wine "$windows" --format "$format" --tileset both in.png "win/草原-$format.png"
  "$linux" --format "$format" --tileset both in.png "linux/草原-$format.png"
  check cmp "win/草原-$format.tsx" "linux/草原-$format.tsx"
  check cmp "win/草原-$format.tres" "linux/草原-$format.tres"
done

# An existing tileset is replaced whole; nothing else appears in the folder.
head -c 100000 /dev/zero > "win/草原-roof.tsx"
check wine "$windows" --format roof --tileset tiled in.png "win/草原-roof.png"
check cmp "win/草原-roof.tsx" "linux/草原-roof.tsx"
check test "$(ls win | wc -l)" -eq 9

# A folder where the tileset goes: one line with the cause, exit status 1.
mkdir blocked.tsx
set +e
wine "$windows" --tileset tiled in.png blocked.png 2>blocked.txt; blocked=$?
set -e
check test "$blocked" -eq 1
check grep -q "blocked.tsx: cannot write the tileset: it is a folder" blocked.txt
check test -f blocked.png

echo "Windows tilesets under Wine: $passed passed, $failed failed"
test "$failed" -eq 0
