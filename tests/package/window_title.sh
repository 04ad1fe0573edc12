#!/usr/bin/env bash
# Starts a window program on a private X server with an empty configuration folder and
# waits up to 30 s for its window to take a title matching TITLE (a regular expression).
# Usage: tests/package/window_title.sh PROGRAM TITLE [ARGUMENT...]
set -euo pipefail
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cat >"$work/inside.sh" <<'INNER'
"$1" "${@:3}" &
for _ in $(seq 1 150); do
  xdotool search --all --pid $! --name "$2" >/dev/null 2>&1 && kill $! && exit 0
  sleep 0.2
done
echo "no window titled '$2' within 30 s" >&2
kill $!
exit 1
INNER
env -u QT_QPA_PLATFORM XDG_CONFIG_HOME="$work" XDG_RUNTIME_DIR="$work" \
  "$(dirname "$0")/../support/private_display.sh" 800x600 \
  bash "$work/inside.sh" "$(realpath "$1")" "${@:2}"
