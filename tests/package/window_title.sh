#!/usr/bin/env bash
# Starts a window program on a private X server, with an empty configuration folder, and
# waits up to 30 s for its window to take a title matching TITLE (a regular expression);
# the program is ended either way.
# Usage: tests/package/window_title.sh PROGRAM TITLE [ARGUMENT...]
set -euo pipefail
program=$(realpath "$1")
title=$2
shift 2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cat >"$work/inside.sh" <<'INNER'
program=$1
title=$2
shift 2
"$program" "$@" &
pid=$!
for _ in $(seq 1 150); do
  if xdotool search --all --pid "$pid" --name "$title" >/dev/null 2>&1; then
    kill "$pid"
    exit 0
  fi
  sleep 0.2
done
echo "no window titled '$title' within 30 s" >&2
kill "$pid"
exit 1
INNER
env -u QT_QPA_PLATFORM XDG_CONFIG_HOME="$work" XDG_RUNTIME_DIR="$work" \
  xvfb-run -a -s "-screen 0 800x600x24" bash "$work/inside.sh" "$program" "$title" "$@"
