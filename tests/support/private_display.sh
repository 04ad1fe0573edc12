#!/usr/bin/env bash
# Runs COMMAND on a private X server of SCREEN (WIDTHxHEIGHT) and exits with its status.
# Xvfb picks a free display number itself (-displayfd), so two checks starting at the same
# moment never race for one, as xvfb-run -a can.
# Usage: tests/support/private_display.sh SCREEN COMMAND [ARGUMENT...]
set -euo pipefail
screen=$1
shift
fd_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 "${screen}x24" -nolisten tcp 3>"$fd_file" >/dev/null 2>&1 &
server=$!
trap 'kill "$server" 2>/dev/null || true; rm -f "$fd_file"' EXIT
for _ in $(seq 1 100); do
  [ -s "$fd_file" ] && break
  kill -0 "$server" 2>/dev/null || break
  sleep 0.1
done
number=$(head -n 1 "$fd_file")
[ -n "$number" ] || { echo "Xvfb did not start" >&2; exit 1; }
DISPLAY=":$number" "$@"
