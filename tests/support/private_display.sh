#!/usr/bin/env bash
# Runs COMMAND on a private X server of SCREEN (WIDTHxHEIGHT) and exits with its status.
# The server takes a display number drawn at random from 100 to 999 and is waited for
# until it answers (-displayfd). Neither `xvfb-run -a` nor a bare -displayfd will do when
# checks start side by side: both hand out the lowest free number, and a server that has
# just ended (or lost the race for that number) can take the new server's socket with it.
# A drawn number that is taken makes Xvfb refuse at once; another is drawn.
# Usage: tests/support/private_display.sh SCREEN COMMAND [ARGUMENT...]
set -euo pipefail
screen=$1
shift
fd_file=$(mktemp)
server=
stop_server() {
  if [ -n "$server" ]; then
    kill "$server" 2>/dev/null || true
    wait "$server" 2>/dev/null || true
  fi
  server=
}
trap 'stop_server; rm -f "$fd_file"' EXIT
number=
for _ in $(seq 1 20); do
  candidate=$((100 + RANDOM % 900))
  : >"$fd_file"
  Xvfb ":$candidate" -displayfd 3 -screen 0 "${screen}x24" -nolisten tcp \
    3>"$fd_file" >/dev/null 2>&1 &
  server=$!
  for _ in $(seq 1 100); do
    [ -s "$fd_file" ] && break
    kill -0 "$server" 2>/dev/null || break
    sleep 0.1
  done
  if [ -s "$fd_file" ] && kill -0 "$server" 2>/dev/null; then
    number=$(head -n 1 "$fd_file")
    break
  fi
  stop_server
done
[ -n "$number" ] || { echo "Xvfb did not start" >&2; exit 1; }
status=0
DISPLAY=":$number" "$@" || status=$?
exit "$status"
