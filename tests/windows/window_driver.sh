# Driving a Windows window program under Wine on a private X server, as a user would:
# pointer moves and clicks (xdotool), keys, screenshots (ImageMagick's import) read back
# pixel by pixel. Sourced by the window checks; every function fails loudly.
# Needs: Xvfb, xdotool, ImageMagick, wine, and WINEPREFIX set.

# Starts Xvfb on a free display with a screen of $1 (WIDTHxHEIGHT, 1024x768 when not given)
# and exports DISPLAY.
wd_start_x() {
  local fd_file
  fd_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 "${1:-1024x768}x24" -nolisten tcp 3>"$fd_file" >/dev/null 2>&1 &
  WD_XVFB_PID=$!
  local i
  for i in $(seq 1 100); do
    [ -s "$fd_file" ] && break
    sleep 0.1
  done
  export DISPLAY=":$(head -n1 "$fd_file")"
  rm -f "$fd_file"
  [ "$DISPLAY" != ":" ]
}

# Starts the program (arguments passed on) in the background; WD_APP_PID, and the exit
# status lands in $WD_WORK/app.status when it ends.
wd_start_app() {
  (
    set +e
    wine "$@" >"$WD_WORK/app.log" 2>&1
    echo $? >"$WD_WORK/app.status"
  ) &
  WD_APP_PID=$!
}

# Waits (up to $2 seconds, default 60) for a visible window whose title matches $1 and
# prints its X id.
wd_wait_window() {
  local deadline=$((SECONDS + ${2:-60})) id
  while [ $SECONDS -lt $deadline ]; do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1 || true)
    if [ -n "$id" ]; then
      echo "$id"
      return 0
    fi
    sleep 0.3
  done
  echo "no window titled '$1' within ${2:-60} s" >&2
  return 1
}

# Waits (up to $2 seconds) for the program to end; prints its exit status.
wd_wait_exit() {
  local deadline=$((SECONDS + ${1:-30}))
  while [ $SECONDS -lt $deadline ]; do
    if [ -f "$WD_WORK/app.status" ]; then
      cat "$WD_WORK/app.status"
      return 0
    fi
    sleep 0.2
  done
  echo "the program did not end within ${1:-30} s" >&2
  return 1
}

# Waits for a file to appear and stop growing.
wd_wait_file() {
  local deadline=$((SECONDS + ${2:-30})) size=-1 now
  while [ $SECONDS -lt $deadline ]; do
    if [ -f "$1" ]; then
      now=$(stat -c %s "$1")
      [ "$now" = "$size" ] && [ "$now" -gt 0 ] && return 0
      size=$now
    fi
    sleep 0.5
  done
  echo "$1 was not written within ${2:-30} s" >&2
  return 1
}

wd_screenshot() { import -window root "$1"; }

# The pixel at (x, y) of a picture file as "R,G,B".
wd_pixel() {
  convert "$1" -format \
    "%[fx:int(255*p{$2,$3}.r+0.5)],%[fx:int(255*p{$2,$3}.g+0.5)],%[fx:int(255*p{$2,$3}.b+0.5)]" \
    info:
}

# The screen position of the top-left corner of the first bounding box of pixels of
# colour $2 in screenshot $1, as "X Y".
wd_find_colour() {
  convert "$1" -fill black +opaque "$2" -fill white -opaque "$2" -trim \
    -format '%X %Y\n' info: | tr -d '+'
}

# Pointer moves and clicks at client coordinates; WD_CLIENT_X/Y hold the client origin.
wd_move() {
  xdotool mousemove $((WD_CLIENT_X + $1)) $((WD_CLIENT_Y + $2))
  sleep 0.4
}
wd_click() {
  xdotool click 1
  sleep 0.4
}

# Typed text and keys go to the window under the pointer or the focused control.
wd_type() { xdotool type --delay 40 "$1"; }
wd_key() { xdotool key "$@"; }

# Stops what wd_start_x and wd_start_app started.
wd_stop() {
  if [ -n "${WD_APP_PID:-}" ] && kill -0 "$WD_APP_PID" 2>/dev/null; then
    wineserver -k >/dev/null 2>&1 || true
    wait "$WD_APP_PID" 2>/dev/null || true
  fi
  if [ -n "${WD_XVFB_PID:-}" ]; then
    kill "$WD_XVFB_PID" 2>/dev/null || true
    wait "$WD_XVFB_PID" 2>/dev/null || true
  fi
}
