#!/usr/bin/env bash
# Runs the Linux converter and the Windows one under Wine on every picture file in a folder
# (such as scripts/mutated_pictures.py writes) and lists those they answer differently:
# another exit status or another message. A line a file:
#   NAME  linux STATUS MESSAGE | windows STATUS MESSAGE
# then a count. Exit status 1 when any file is answered differently.
# Usage: scripts/host_answers.sh LINUX_CONVERTER WINDOWS_CONVERTER FOLDER
# Uses $WINEPREFIX when set (see make_wine_prefix.sh).
set -euo pipefail
linux=$(realpath "$1")
windows=$(realpath "$2")
cd "$3"
export WINEDEBUG=-all
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

answer() {  # PROGRAM...: "STATUS MESSAGE" for a roof block of the file, CR dropped
  local status=0
  "$@" 2>"$out/stderr" >/dev/null || status=$?
  printf '%s %s' "$status" "$(tr -d '\r' <"$out/stderr" | head -n 1)"
}

files=0
differ=0
for f in *; do
  [ -f "$f" ] || continue
  files=$((files + 1))
  l=$(answer "$linux" --format roof "$f" "$out/sheet.png")
  w=$(answer wine "$windows" --format roof "$f" "$out/sheet.png")
  if [ "$l" != "$w" ]; then
    differ=$((differ + 1))
    echo "$f  linux $l | windows $w"
  fi
done
echo "host_answers: $differ of $files files answered differently"
[ "$differ" = 0 ]
