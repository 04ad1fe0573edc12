#!/usr/bin/env bash
# The Windows window program under Wine on a private X server: it starts on a picture,
# paints the picture, the grid and the selection block; a click pair opens the Save
# dialog; a typed name is written and equals the Linux converter's sheet; Ctrl+wheel
# zooms around the pointer, the view menu shows the sheet preview, and a save at 4x
# equals the same sheet; a save under the picture's own name is refused; back at 1x, the
# 形式 menu's tile size 16 and complete shapes give the grid of 16 and a save equal to the
# converter's sheet for the same settings, and ファイル > ピクチャ全体を書き出す at them the
# converter's atlas; Ctrl+O opens a picture, the arrow keys and Enter save the block the
# converter's --cell gives, under the name and in the folder the Save dialog proposes; the
# block-map mode puts a block on the map beside the picture, outlines it and takes it off; it
# exits 0, having written its choices to %APPDATA%\Korvanth, and the next start without an
# argument opens the same picture with the same choices. With no settings and no picture,
# started beside the sample, it opens the sample. --help, --version and an unknown option
# print and end; started with --lang en, menu, boxes and preview are English, and the 言語
# menu switches them back to Japanese.
# Usage: tests/windows/window_check.sh WINDOWS_PROGRAM LINUX_CONVERTER
# Uses $WINEPREFIX when set (see make_wine_prefix.sh), else makes a prefix of its own.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
program=$(realpath "$1")
linux=$(realpath "$2")
WD_WORK=$(mktemp -d)
# shellcheck source=window_driver.sh
. "$root/tests/windows/window_driver.sh"
trap 'wd_stop; rm -rf "$WD_WORK"' EXIT
export WINEDEBUG=-all LC_ALL=C.UTF-8
if [ -z "${WINEPREFIX:-}" ]; then
  "$root/tests/windows/make_wine_prefix.sh" "$WD_WORK/prefix" "$program" >/dev/null
  export WINEPREFIX="$WD_WORK/prefix"
fi
cd "$WD_WORK"

# Text as Wine's traces write it: each character beyond ASCII as a backslash and its code.
wine_trace_text() {
  python3 -c 'import sys; print("".join(c if ord(c) < 128 else "\\%04x" % ord(c) for c in sys.argv[1]), end="")' "$1"
}

passed=0
failed=0
check() {
  if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: $*" >&2; fi
}
magenta=255,0,255
black=0,0,0

# A magenta picture, so the picture and the grid are easy to find on the screen, with
# part of the sample's tiles in its lower right for the sheet.
convert -size 320x320 xc:'#ff00ff' \( "$root/samples/sample-tiles.png" -crop 128x128+64+32 \
  +repage \) -geometry +160+160 -composite -depth 8 PNG32:picture.png

wd_start_x
# The walk starts as a first start: no choices remembered from an earlier walk. (Wine is
# first started with the display set: its desktop process keeps the display it began on.)
appdata=$(winepath -u "$(wine cmd /c 'echo %APPDATA%' 2>/dev/null | tr -d '\r')")
settings="$appdata/Korvanth/settings.conf"
rm -f "$settings"
# Wine's message box trace carries each box's text, for the refused save below.
WINEDEBUG=-all,trace+msgbox wd_start_app "$program" picture.png
window=$(wd_wait_window '^picture.png - Korvanth$' 90)
sleep 2

# The client origin: the grid's first line is picture column and row 0, so the magenta
# starts one pixel further in. The pointer first parks the block in the lower right.
xdotool mousemove 600 600
sleep 0.5
wd_screenshot start.png
read -r x y < <(wd_find_colour start.png '#FF00FF')
WD_CLIENT_X=$((x - 1))
WD_CLIENT_Y=$((y - 1))
echo "window $window, client origin at $WD_CLIENT_X,$WD_CLIENT_Y"
wd_move 300 300
wd_screenshot painted.png
at() { wd_pixel painted.png $((WD_CLIENT_X + $1)) $((WD_CLIENT_Y + $2)); }
picture_at() { wd_pixel picture.png "$1" "$2"; }

# The picture at its own size.
check test "$(at 16 16)" = "$magenta"
check test "$(at 319 1)" = "$magenta"
check test "$(at 200 200)" = "$(picture_at 200 200)"
check test "$(at 250 170)" = "$(picture_at 250 170)"
check test "$(at 330 16)" != "$magenta"  # right of the picture
# The grid: every 32nd column and row, black over magenta, contrasting over the tiles.
for point in "32 16" "64 100" "16 32" "16 288" "288 64"; do
  read -r gx gy <<<"$point"
  check test "$(at "$gx" "$gy")" = "$black"
done
check test "$(at 33 16)" = "$magenta"
IFS=, read -r r g b <<<"$(picture_at 192 200)"
contrast=$([ $((r + g + b)) -lt 384 ] && echo 255,255,255 || echo "$black")
check test "$(at 192 200)" = "$contrast"

# The block under the pointer: terrain1 is 64 x 96, on the cell under the pointer.
wd_move 40 40
wd_screenshot block.png
at() { wd_pixel block.png $((WD_CLIENT_X + $1)) $((WD_CLIENT_Y + $2)); }
tint=$(at 50 50)
check test "$tint" != "$magenta"
check test "$tint" != "$black"
check test "$(at 80 110)" = "$tint"
check test "$(at 50 140)" = "$magenta"  # below the block
check test "$(at 110 50)" = "$magenta"  # right of the block

# A click pair on cell (5, 5) opens the Save dialog; the typed name is written.
wd_move 170 170
wd_click
wd_click
dialog=$(wd_wait_window '^Save As$' 30)
echo "Save dialog $dialog"
sleep 1
# The whole path: the dialog may open on the folder it showed last.
wd_type "$(winepath -w "$WD_WORK/window-sheet.png")"
wd_key Return
check wd_wait_file window-sheet.png 60
"$linux" --format terrain1 --cell 5,5 picture.png linux-sheet.png
check test "$(compare -metric AE window-sheet.png linux-sheet.png null: 2>&1)" = 0

# Ctrl+wheel zooms to 4x around the picture pixel under the pointer (100, 100), which
# every step can keep there: the view then starts at screen pixel 4 x 100 - 100 = 300.
# Grid lines stay one screen pixel wide: picture row 96 is client row 84, picture column
# 192 client column 468. The block sits on cell (3, 3), from client (84, 84) on.
wd_move 100 100
xdotool keydown ctrl click 4 click 4 click 4 keyup ctrl
sleep 1
wd_screenshot zoomed.png
at() { wd_pixel zoomed.png $((WD_CLIENT_X + $1)) $((WD_CLIENT_Y + $2)); }
check test "$(at 20 84)" = "$black"
check test "$(at 20 83)" = "$magenta"
check test "$(at 20 85)" = "$magenta"
check test "$(at 468 50)" = "$black"
check test "$(at 467 50)" = "$magenta"
check test "$(at 469 50)" = "$magenta"
check test "$(at 80 200)" = "$magenta"
check test "$(at 88 200)" != "$magenta"

# The sheet preview from the view menu, then a save at 4x: the block shown is converted.
wd_key alt+v
sleep 0.5
wd_key p
check wd_wait_window '^シートのプレビュー$' 30
wd_move 100 100
wd_click
wd_click
dialog=$(wd_wait_window '^Save As$' 30)
sleep 1
wd_type "$(winepath -w "$WD_WORK/window-sheet-4x.png")"
wd_key Return
check wd_wait_file window-sheet-4x.png 60
"$linux" --format terrain1 --cell 3,3 picture.png linux-sheet-4x.png
check test "$(compare -metric AE window-sheet-4x.png linux-sheet-4x.png null: 2>&1)" = 0

# Saving under the open picture's own name is refused after the dialog's replace question:
# a message box names the file, and the picture keeps its bytes and its time.
visible() { xdotool search --onlyvisible --name '' 2>/dev/null | sort; }
# Waits for a visible window whose id is none of $1 and prints it.
new_window() {
  local deadline=$((SECONDS + 30)) id
  while [ $SECONDS -lt $deadline ]; do
    id=$(comm -13 <(tr ' ' '\n' <<<"$1" | sort) <(visible) | head -n1)
    [ -n "$id" ] && echo "$id" && return 0
    sleep 0.3
  done
  echo "no new window within 30 s" >&2
  return 1
}
# Return with the pointer over window $1 (keys go to the window under the pointer).
return_in() {
  local X Y WIDTH HEIGHT SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$1")"
  xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2))
  sleep 0.4
  wd_key Return
}
picture_state() { md5sum <picture.png; stat -c %y picture.png; }
before=$(picture_state)
seen=$(visible)
wd_move 100 100
wd_click
wd_click
dialog=$(wd_wait_window '^Save As$' 30)
sleep 1
picture_name=$(winepath -w "$WD_WORK/picture.png")
wd_type "$picture_name"
wd_key Return
question=$(new_window "$seen $dialog")
return_in "$question"  # Yes
box=$(new_window "$seen $dialog $question")
sleep 1
check grep -qF "${picture_name//\\/\\\\}\n($(wine_trace_text 開いているピクチャです。上書きはしません))" app.log
return_in "$box"  # OK
check test "$(picture_state)" = "$before"

# Back at 1x, 形式 > タイルサイズ > 16 and 全形状を追加 from the keyboard: F10 opens the
# menu bar at its first entry, Right and Down open 形式 at its first item.
wd_move 300 300
wd_key ctrl+0
sleep 0.5
format_menu() {
  wd_key F10
  sleep 0.3
  wd_key Right Down
  sleep 0.5
}
format_menu
wd_key Down Down Down Down Right  # past 地形2, 屋根, 全形状を追加 (the separator is skipped)
sleep 0.5
wd_key Return  # the submenu opens at 16
sleep 0.5
format_menu
wd_key c  # 全形状を追加(&C)
sleep 0.5
# The grid every 16 pixels, with the block of 32 x 48 on cell (10, 10) at (160, 160), in a
# new screenshot SHOT; at() then reads SHOT.
check_grid_of_16() {
  grid_shot=$1
  wd_move 170 170
  wd_screenshot "$grid_shot"
  at() { wd_pixel "$grid_shot" $((WD_CLIENT_X + $1)) $((WD_CLIENT_Y + $2)); }
  check test "$(at 16 8)" = "$black"
  check test "$(at 17 8)" = "$magenta"
  check test "$(at 8 48)" = "$black"
}
check_grid_of_16 small-tiles.png
check test "$(at 8 47)" = "$magenta"
wd_click
wd_click
dialog=$(wd_wait_window '^Save As$' 30)
sleep 1
wd_type "$(winepath -w "$WD_WORK/window-sheet-16.png")"
wd_key Return
check wd_wait_file window-sheet-16.png 60
"$linux" --format terrain1 --tile-size 16 --complete --cell 10,10 picture.png linux-sheet-16.png
check test "$(identify -format %wx%h window-sheet-16.png)" = 64x192
check test "$(compare -metric AE window-sheet-16.png linux-sheet-16.png null: 2>&1)" = 0

# ファイル > ピクチャ全体を書き出す from the keyboard (F10, Down opens ファイル, A picks the
# item) at the same settings: the atlas equals the converter's --all --atlas, and the box
# counts the 60 blocks of 32 x 48 and names the atlas.
seen=$(visible)
wd_move 300 300
wd_key F10
sleep 0.3
wd_key Down
sleep 0.5
wd_key a
dialog=$(wd_wait_window '^Save As$' 30)
sleep 1
atlas_name=$(winepath -w "$WD_WORK/window-atlas.png")
wd_type "$atlas_name"
wd_key Return
check wd_wait_file window-atlas.png 60
box=$(new_window "$seen $dialog")
sleep 1
# Wine's trace writes each character beyond ASCII as a backslash and its code: 個 is \500b.
counts=$(grep -aF "\\n${atlas_name//\\/\\\\}\"" app.log || true)
check grep -qF 'L"60\500b' <<<"$counts"
check grep -qF ' 0\500b\306f' <<<"$counts"
return_in "$box"  # OK
"$linux" --all --atlas --tile-size 16 --complete picture.png linux-atlas.png
check test "$(compare -metric AE window-atlas.png linux-atlas.png null: 2>&1)" = 0

# From the keyboard: Ctrl+O opens a copy of the picture in a folder of its own; with the
# pointer on cell (0, 0), Right, Right, Shift+Right (a block of 地形1 at 16 is 2 x 3 cells),
# Down and Shift+Down put the block on cell (4, 4). Enter opens the Save dialog, and
# Return takes what it proposes: STEM_terrain1.png in the picture's folder.
mkdir keys
cp picture.png keys/tiles.png
wd_move 300 300
wd_key ctrl+o
dialog=$(wd_wait_window '^Open$' 30)
sleep 1
wd_type "$(winepath -w "$WD_WORK/keys/tiles.png")"
wd_key Return
check test -n "$(wd_wait_window '^tiles.png - Korvanth$' 30)"
wd_move 5 5
wd_key Right Right shift+Right Down shift+Down
sleep 0.5
wd_key Return
dialog=$(wd_wait_window '^Save As$' 30)
sleep 1
wd_key Return
check wd_wait_file keys/tiles_terrain1.png 60
"$linux" --format terrain1 --tile-size 16 --complete --cell 4,4 keys/tiles.png linux-keys.png
check test "$(compare -metric AE keys/tiles_terrain1.png linux-keys.png null: 2>&1)" = 0

# 形式 > ブロックマップを編集 (M): a click pair on cell (1, 1) puts a 地形1 block there on the
# map beside the picture, outlined in cyan two pixels inside its edge (32 x 48 at (16, 16));
# a click on it takes it off again and, the map being empty, removes the file.
format_menu
wd_key m
sleep 0.5
wd_move 20 20
wd_click
wd_click
map=keys/tiles.png.blocks
check wd_wait_file "$map" 30
check grep -qxF "tile-size 16" "$map"
check grep -qxF "1,1 terrain1 tiles_1_1" "$map"
cyan=0,216,255
wd_move 300 300
wd_screenshot mapped.png
at() { wd_pixel mapped.png $((WD_CLIENT_X + $1)) $((WD_CLIENT_Y + $2)); }
for point in "16 40" "17 40" "46 40" "47 40" "30 16" "30 17" "30 62" "30 63"; do
  check test "$(at $point)" = "$cyan"
done
for point in "15 40" "18 40" "45 40" "30 18" "30 61"; do
  check test "$(at $point)" = "$magenta"
done
wd_move 20 20
wd_click
sleep 1
check test ! -e "$map"

# Alt+F4 closes the window; the program ends with status 0.
wd_move 300 300
wd_key alt+F4
status=$(wd_wait_exit 30)
check test "$status" = 0

# The choices went to %APPDATA%\Korvanth\settings.conf ...
check test -f "$settings"
for line in format=terrain1 tile-size=16 complete=yes preview=yes \
  "picture=$(winepath -w "$WD_WORK/keys/tiles.png")"; do
  check grep -qxF "$line" "$settings"
done
# ... and come back: without an argument the window opens the remembered picture (the
# copy Ctrl+O opened last), with the preview and the grid of 16.
rm -f "$WD_WORK/app.status"
wd_start_app "$program"
window=$(wd_wait_window '^tiles.png - Korvanth$' 90)
check wd_wait_window '^シートのプレビュー$' 30
sleep 2
xdotool mousemove 600 600
sleep 0.5
wd_screenshot again.png
eval "$(xdotool getwindowgeometry --shell "$window")"
convert again.png -crop "${WIDTH}x${HEIGHT}+$X+$Y" +repage again-main.png
read -r x y < <(wd_find_colour again-main.png '#FF00FF')
WD_CLIENT_X=$((X + x - 1))
WD_CLIENT_Y=$((Y + y - 1))
check_grid_of_16 again-grid.png
wd_key alt+F4
check test "$(wd_wait_exit 30)" = 0
rm -f "$settings"

# With nothing remembered and started without a picture beside the sample, as the zip unpacks (in a folder whose name
# is not ASCII), the window opens the sample.
unpacked="$WD_WORK/試用 フォルダ"
mkdir "$unpacked"
cp "$program" "$root/samples/sample-tiles.png" "$unpacked/"
rm -f "$WD_WORK/app.status"
wd_start_app "$unpacked/$(basename "$program")"
window=$(wd_wait_window '^sample-tiles\.png - Korvanth$' 90) && passed=$((passed + 1)) &&
  xdotool windowfocus --sync "$window" key --clearmodifiers alt+F4 || failed=$((failed + 1))
check test "$(wd_wait_exit 30)" = 0

# --help, --version and an unknown option print and end without a window; the version is
# the converter's.
wine "$program" --help >help.out 2>help.err && status=0 || status=$?
check test "$status" = 0
check test "$(head -n1 help.out)" = "Usage: korvanth [--lang ja|en] [--reset-settings] [--] [PICTURE]"
wine "$program" --version >version.out 2>/dev/null && status=0 || status=$?
check test "$status" = 0
check test "$(tr -d '\r' <version.out)" = "korvanth $("$linux" --version | cut -d' ' -f2)"
wine "$program" --bogus >bogus.out 2>bogus.err && status=0 || status=$?
check test "$status" = 2
check test ! -s bogus.out
check grep -qF "korvanth: unknown option --bogus" bogus.err

# In English (--lang en): the menu the program builds is English but for the item that
# names Japanese in Japanese; a failed open's box is English, headline and cause; the view
# menu's preview is "Sheet Preview"; and 言語 > 日本語 (Alt+L, J) switches the menu bar and
# the preview's title at once, which the settings file then holds.
rm -f "$WD_WORK/app.status" "$settings"
seen=$(visible)
WINEDEBUG=-all,trace+msgbox,trace+menu wd_start_app "$program" --lang en missing.png
# The box shows as the window first shows, before Wine maps the window itself.
for _ in $(seq 1 300); do
  grep -qaF 'MSGBOX_OnInit' app.log 2>/dev/null && break
  sleep 0.3
done
check grep -qF 'Could not open the picture.\nmissing.png\n(no such file)' app.log
box=$(new_window "$seen $(xdotool search --onlyvisible --name '^Korvanth$' 2>/dev/null || true)")
return_in "$box"  # OK
window=$(wd_wait_window '^Korvanth$' 30)
captions=$(grep -a 'trace:menu:InsertMenuW' app.log | sed -n 's/.* str L"\(.*\)"\r*$/\1/p')
for caption in '&File' 'F&ormat' '&Colours' '&View' '&Language' '&English'; do
  check grep -qxF "$caption" <<<"$captions"
done
check test "$(grep -E '\\[0-9a-f]{4}' <<<"$captions")" = "$(wine_trace_text '日本語(&J)')"
xdotool windowfocus --sync "$window"
wd_key alt+v
sleep 0.5
wd_key p
check wd_wait_window '^Sheet Preview$' 30
menu_bar() {  # the top of the main window, where the menu bar is, in a screenshot $1
  local X Y WIDTH HEIGHT SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$window")"
  wd_screenshot "$1"
  convert "$1" -crop "${WIDTH}x40+$X+$Y" +repage "$1"
}
menu_bar english-bar.png
xdotool windowfocus --sync "$window"
wd_key alt+l
sleep 0.5
wd_key j
check wd_wait_window '^シートのプレビュー$' 30
check grep -qF "$(wine_trace_text 'str L"ﾌｧｲﾙ(&F)"')" app.log
sleep 0.5
menu_bar japanese-bar.png
check test "$(compare -metric AE english-bar.png japanese-bar.png null: 2>&1)" != 0
xdotool windowfocus --sync "$window" key --clearmodifiers alt+F4
check test "$(wd_wait_exit 30)" = 0
check grep -qx language=ja "$settings"
rm -f "$settings"

echo "Windows window program under Wine: $passed passed, $failed failed"
test "$failed" -eq 0
