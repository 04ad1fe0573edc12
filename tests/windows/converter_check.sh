#!/usr/bin/env bash
# The Windows converter (built against the real windows.h and GDI+) run under Wine against
# the Linux converter: for every output type, several pictures, origins and formats, the
# sheets are counted as byte-identical and pixel-identical (ImageMagick's compare); PNG,
# BMP, GIF and TIFF must all be pixel-identical. Then a save over an existing sheet on a
# full disk, the converter's case table (tests/cli/converter_cases.tsv) row by row on both
# hosts (non-regular outputs among them), inputs that are no regular file, every file of
# the fuzz regression corpus, the removal of a killed save's temporary, and a --watch
# rebuild after a save.
# Usage: tests/windows/converter_check.sh LINUX_CONVERTER WINDOWS_CONVERTER
# Uses $WINEPREFIX when set (see make_wine_prefix.sh), else makes a prefix of its own.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
linux=$(realpath "$1")
windows=$(realpath "$2")
work=$(mktemp -d)
cleanup() {
  if mountpoint -q "$work/disk" 2>/dev/null; then umount "$work/disk" || true; fi
  wineserver -k >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT
export WINEDEBUG=-all
if [ -z "${WINEPREFIX:-}" ]; then
  "$root/tests/windows/make_wine_prefix.sh" "$work/prefix" "$windows" >/dev/null
  export WINEPREFIX="$work/prefix"
fi
cd "$work"

passed=0
failed=0
check() {
  if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: $*" >&2; fi
}
same_pixels() { [ "$(compare -metric AE "$1" "$2" null: 2>&1)" = 0 ]; }
win() { wine "$windows" "$@"; }

# Pictures: the sample; a gradient with graded alpha (fully transparent at one edge); a
# picture of few colours; one of thousands of colours a block with a transparent band, so
# GIF sheets are quantized.
cp "$root/samples/sample-tiles.png" sample.png
convert -size 320x256 gradient:'#ff2000-#0040ff' \( -size 256x320 gradient:'#ffffff-#000000' \
  -rotate 90 \) -compose CopyOpacity -composite -depth 8 PNG32:gradient.png
convert -size 192x192 xc:'#204060' -fill '#e0c020' -draw 'rectangle 20,30 150,90' \
  -fill '#80ff80' -draw 'circle 100,130 120,170' -depth 8 PNG32:few.png

convert -size 320x256 gradient:'#000000-#ff0000' \( -size 256x320 gradient:'#000000-#00ff00' \
  -rotate 90 \) -compose plus -composite -alpha set \( -size 320x11 xc:none \) -geometry +0+100 \
  -compose copy -composite -depth 8 PNG32:rich.png

types=(png bmp gif jpg tif)
declare -A total bytes pixels
for t in "${types[@]}"; do total[$t]=0 bytes[$t]=0 pixels[$t]=0; done
count() {  # TYPE WINDOWS_FILE LINUX_FILE
  total[$1]=$((total[$1] + 1))
  if cmp -s "$2" "$3"; then bytes[$1]=$((bytes[$1] + 1)); fi
  if same_pixels "$2" "$3"; then pixels[$1]=$((pixels[$1] + 1)); fi
  if [ "$1" = jpg ]; then
    { compare -metric PSNR "$2" "$3" null: 2>&1 || true; } | cut -d' ' -f1 >>jpeg-psnr.txt
  fi
}

# Every whole block of each picture, per format and type, through --all.
for picture in sample gradient few rich; do
  for format in terrain1 terrain2 roof; do
    for t in "${types[@]}"; do
      out="all-$picture-$format-$t"
      win --format "$format" --all --type "$t" "$picture.png" "$out-win" 2>/dev/null
      "$linux" --format "$format" --all --type "$t" "$picture.png" "$out-linux" 2>/dev/null
      check test "$(ls "$out-win" | wc -l)" -eq "$(ls "$out-linux" | wc -l)"
      for f in "$out-linux"/*; do count "$t" "$out-win/$(basename "$f")" "$f"; done
    done
  done
done
# Origins off the grid and partly outside the picture (the outside stays transparent).
for origin in 17,5 200,150 -10,40; do
  for format in terrain1 roof; do
    for t in "${types[@]}"; do
      win --format "$format" --origin "$origin" gradient.png "o-win.$t" 2>/dev/null
      "$linux" --format "$format" --origin "$origin" gradient.png "o-linux.$t" 2>/dev/null
      count "$t" "o-win.$t" "o-linux.$t"
    done
  done
done

echo "Sheets of the Windows converter against the Linux one (identical / compared):"
for t in "${types[@]}"; do
  echo "  $t: ${bytes[$t]} byte-identical, ${pixels[$t]} pixel-identical of ${total[$t]}"
done
for t in png bmp gif tif; do check test "${pixels[$t]}" -eq "${total[$t]}"; done
# JPEG is lossy and each host has its own encoder: the sheets must still be close.
lowest=$(sort -g jpeg-psnr.txt | head -n1)
echo "  jpg: lowest PSNR between the hosts' sheets $lowest dB"
check test "${total[jpg]}" -gt 0
check awk -v p="$lowest" 'BEGIN { exit !(p == "inf" || p + 0 >= 28) }'
# The Linux JPEG is written at quality 90 (ImageMagick's estimate from the tables).
check test "$(identify -format %Q all-sample-roof-jpg-linux/sample_0_0.jpg)" = 90

# Written BMP keeps alpha (32 bits a pixel, BITMAPV5HEADER) and GIF is not empty.
check test "$(od -An -tu1 -j28 -N1 "all-few-roof-bmp-win/few_0_0.bmp" | tr -d ' ')" = 32
check test "$(od -An -tu1 -j14 -N1 "all-few-roof-bmp-win/few_0_0.bmp" | tr -d ' ')" = 124
check test "$(identify -format '%wx%h' "all-few-roof-gif-win/few_0_0.gif")" = 96x128
# The rich picture's GIF sheets went through the quantizer: a full palette.
check test "$(identify -format '%k' "all-rich-terrain1-gif-win/rich_1_0.gif")" -gt 200

# A save over an existing sheet on a full disk fails with a message and status 1, and
# leaves the old sheet byte for byte and no temporary file.
mkdir disk
if mount -t tmpfs -o size=64k tmpfs disk 2>/dev/null; then
  win --format roof sample.png disk/sheet.bmp 2>/dev/null
  cp disk/sheet.bmp old-sheet.bmp
  dd if=/dev/zero of=disk/filler bs=4k 2>/dev/null || true
  set +e
  win --format terrain2 gradient.png disk/sheet.bmp 2>full.txt
  status=$?
  set -e
  echo "Full disk: status $status, message: $(cat full.txt)"
  check test "$status" -eq 1
  check grep -q "sheet.bmp: .*disk full" full.txt
  check cmp disk/sheet.bmp old-sheet.bmp
  check test "$(ls -A disk | tr '\n' ' ')" = "filler sheet.bmp "
  # The Linux converter: the same outcome in the same words.
  set +e
  "$linux" --format terrain2 gradient.png disk/sheet.bmp 2>full-linux.txt
  status=$?
  set -e
  check test "$status" -eq 1
  check diff <(tr -d '\r' <full.txt) full-linux.txt  # Windows ends lines with CR LF
  check cmp disk/sheet.bmp old-sheet.bmp
  check test "$(ls -A disk | tr '\n' ' ')" = "filler sheet.bmp "
  umount disk
else
  echo "SKIPPED: the full-disk case needs a tmpfs mount (root)" >&2
fi

# Large pictures: the x86_64 converter loads a 12000 x 12000 picture like the Linux one; a
# 32-bit process has no room for it, so the i686 converter refuses it as too large (never
# as damaged). Both load 10000 x 10000.
big_png() {  # SIZE FILE: a SIZE x SIZE RGBA PNG (every row the same), written row by row
  python3 - "$1" "$2" <<'PY'
import struct, sys, zlib
n = int(sys.argv[1])
def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
row = b"\0" + (bytes(range(256)) * (4 * n // 256 + 1))[:4 * n]
z = zlib.compressobj(1)
idat = b"".join(z.compress(row) for _ in range(n)) + z.flush()
with open(sys.argv[2], "wb") as out:
    out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", n, n, 8, 6, 0, 0, 0))
              + chunk(b"IDAT", idat) + chunk(b"IEND", b""))
PY
}
big_png 10000 big10000.png
check win --format roof --cell 310,310 big10000.png big10000-win.png
"$linux" --format roof --cell 310,310 big10000.png big10000-linux.png
check same_pixels big10000-win.png big10000-linux.png
big_png 12000 big12000.png
set +e
win --format roof --cell 370,370 big12000.png big12000-win.png 2>big12000.txt
status=$?
set -e
if file -b "$windows" | grep -q '^PE32+ '; then
  check test "$status" -eq 0
  "$linux" --format roof --cell 370,370 big12000.png big12000-linux.png
  check same_pixels big12000-win.png big12000-linux.png
else
  echo "12000 x 12000 PNG, i686: status $status, message: $(tr -d '\r' <big12000.txt)"
  check test "$status" -eq 1
  check grep -q "big12000.png: the picture is too large to load" big12000.txt
fi
rm -f big10000.png big12000.png

# The atlas's bounds: a 4096 x 4096 picture at tile size 8 makes an atlas of 4096 x 27200
# (425 MiB of pixels); as JPEG its making would hold 1127 MiB, more than a 32-bit process
# has room for, so the i686 converter refuses it as too large, at once and writing nothing;
# the x86_64 one writes it as the Linux one does.
big_png 4096 big4096.png
set +e
win --all --atlas --tile-size 8 big4096.png atlas4096.jpg 2>atlas4096.txt
status=$?
set -e
if file -b "$windows" | grep -q '^PE32+ '; then
  check test "$status" -eq 0
  check test -s atlas4096.jpg
else
  echo "4096 x 4096 atlas at tile size 8 as JPEG, i686: status $status, message: $(tr -d '\r' <atlas4096.txt)"
  check test "$status" -eq 1
  check grep -q "atlas4096.jpg: the atlas would be too large: making it would take 1127 MiB" \
    atlas4096.txt
  check test ! -e atlas4096.jpg
fi
rm -f big4096.png atlas4096.jpg

# The converter's case table, each row run on both hosts: names and arguments that cannot
# be used, Japanese and long names, inputs that break the text rule, tilesets and atlases:
# the same status, words, names written and pixels as on Linux.
check "$root/tests/cli/converter_cases.sh" "$root/tests/cli/converter_cases.tsv" "$linux" "$windows"

# Hostile files: the same status and words as on Linux.
same_message() {  # ARGUMENTS...: Windows and Linux say the same on standard error
  local wstatus lstatus
  set +e
  win "$@" 2>message-win.txt
  wstatus=$?
  "$linux" "$@" 2>message-linux.txt
  lstatus=$?
  set -e
  windows_status=$wstatus
  [ "$wstatus" = "$lstatus" ] && diff <(tr -d '\r' <message-win.txt) message-linux.txt
}
# A FIFO or a device is no file to a Windows program (Wine shows none of them): refused with
# status 1 at once, never waited on.
mkdir inputs
mkfifo inputs/fifo
for args in "inputs/fifo out.png" "--all --atlas --names inputs/fifo sample.png out.png" \
  "--all --atlas --names /dev/zero sample.png out.png"; do
  set +e
  # shellcheck disable=SC2086 # the words of each case
  timeout 30 wine "$windows" $args 2>/dev/null
  status=$?
  set -e
  check test "$status" -eq 1
done
check test ! -e out.png

# Every file that ever broke a reader, or that the hosts once answered differently: the
# same status and the same one line as on Linux, whatever the bytes, and the status its
# name gives (0 for a picture named loads-..., else 1, as tests/fuzz/replay.sh holds the
# Linux converter to). Each is copied to the same name for both, so the messages name it
# alike. Wine's GDI+ reads no TIFF whose samples lie in separate planes ("unhandled
# planar configuration 2"): those files are replayed on Linux only.
hostile=0
for f in "$root"/tests/fuzz/regressions/*; do
  case $f in *-separate-planes-*) continue ;; esac
  case ${f##*/} in loads-*) expected=0 ;; *) expected=1 ;; esac
  cp "$f" "hostile.${f##*.}"
  check same_message --format roof "hostile.${f##*.}" hostile-out.png
  check test "$windows_status" = "$expected"
  check test "$(tr -d '\r' <message-win.txt | wc -l)" -le 1
  rm -f hostile-out.png "hostile.${f##*.}"
  hostile=$((hostile + 1))
done
check test "$hostile" -gt 0
echo "Regression corpus: $hostile files, each answered as on Linux"

# Temporaries: a batch killed while it saves may leave its ~korvanth-PID-N.tmp (Windows has
# no nameless files: it is marked for deletion while it is written, and a kill leaves it
# only just after it is created or just before it is moved); a later save into the folder
# removes those of ended processes only.
convert -size 4096x1536 xc:'#336699' -depth 8 PNG32:long.png
wine "$windows" --format roof --all --type bmp long.png killed 2>/dev/null &
batch=$!  # the converter's own process (not a subshell's), so that the kill reaches it
owner=""
for _ in $(seq 1 400); do
  owner=$(ls -A killed 2>/dev/null | sed -n 's/^~korvanth-\([0-9]*\)-[0-9]*\.tmp$/\1/p' | head -n1 || true)
  [ -n "$owner" ] && break
  sleep 0.05
done
check test -n "$owner"
mkdir stale
: >"stale/~korvanth-$owner-7.tmp"         # the running batch's: kept
: >"stale/~korvanth-4000000-1.tmp"        # no such process: removed
: >"stale/~korvanth-4000000-1.tmp.bak"    # not the pattern: kept
: >"stale/.korvanth-4000000-1.tmp"        # the Linux pattern: kept
win sample.png stale/sheet.png
check kill -0 "$batch"  # the owner still ran while the save looked
# Killed while a temporary of its own is there, as far as a shell can tell.
for _ in $(seq 1 400); do
  case " $(ls -A killed | tr '\n' ' ')" in *" ~korvanth-"*) break ;; esac
done
kill -9 "$batch"
wait "$batch" 2>/dev/null || true
# Compared as sorted lists: the owner's PID may sort before or after 4000000.
check test "$(LC_ALL=C ls -A stale | tr '\n' ' ')" = "$(printf '%s\n' .korvanth-4000000-1.tmp \
  sheet.png "~korvanth-$owner-7.tmp" "~korvanth-4000000-1.tmp.bak" | LC_ALL=C sort | tr '\n' ' ')"
left=$(ls -A killed | grep -c '^~korvanth-' || true)
win sample.png killed/sheet.png
echo "Killed batch: $left temporary left, $(ls -A killed | grep -c '^~korvanth-' || true) after a later save"
check test -z "$(ls -A killed | grep '^~korvanth-')"

# --watch: a picture saved by writing a temporary and renaming it is converted again, to the
# Linux converter's pixels (the watch waits on ReadDirectoryChangesW); then Ctrl+C, which
# Wine hands a console program for SIGINT, ends it with status 0. It runs under cmd, which
# reports the status, with job control on so that SIGINT is not ignored as in the background.
mkdir watched
cp sample.png watched/tiles.png
picture=$(winepath -w "$work/watched/tiles.png")  # the whole name: found among the processes
printf '@"%s" --watch "%s" watched\\sheet.png\r\n@echo status %%errorlevel%%\r\n' \
  "$(winepath -w "$windows")" "$picture" >watch.bat
set -m
wine cmd /c watch.bat >watch-out.txt 2>watch-err.txt &
set +m
watcher=$!
for _ in $(seq 1 400); do grep -qs 'watching' watch-err.txt && break; sleep 0.05; done
convert sample.png -negate PNG32:watched/tiles.png.part
mv watched/tiles.png.part watched/tiles.png
for _ in $(seq 1 400); do grep -qs 'rebuilt: ' watch-err.txt && break; sleep 0.05; done
"$linux" watched/tiles.png watch-linux.png
check grep -qE '^[0-9]{2}:[0-9]{2}:[0-9]{2} rebuilt: watched.sheet.png$' <(tr -d '\r' <watch-err.txt)
check same_pixels watched/sheet.png watch-linux.png
program=$(ps -eo pid=,args= | grep -F -- "korvanth-convert.exe --watch $picture" |
  grep -v start.exe | awk '{print $1}' | head -n1 || true)
check test -n "$program"
[ -n "$program" ] && kill -INT "$program"
for _ in $(seq 1 200); do kill -0 "$watcher" 2>/dev/null || break; sleep 0.05; done
kill "$watcher" 2>/dev/null || true
wait "$watcher" 2>/dev/null || true
check grep -q '^status 0' watch-out.txt

echo "Windows converter under Wine: $passed passed, $failed failed"
test "$failed" -eq 0
