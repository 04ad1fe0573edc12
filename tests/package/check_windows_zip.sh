#!/usr/bin/env bash
# Checks a Windows release zip (x86_64 or i686, by its name) as a user would meet it: its
# files (the sample picture identical to the source tree's, a README that names only them),
# the version resource and icon each program carries, and both programs started
# under Wine of the zip's width (64-bit or 32-bit) from the unpacked zip in a folder with a
# Japanese name (the converter converting the sample there, the window opening under Xvfb
# and closed again).
# Usage: tests/package/check_windows_zip.sh ZIP SAMPLE_PICTURE LINUX_CONVERTER
set -euo pipefail
zip=$(realpath "$1")
sample=$(realpath "$2")
linux=$(realpath "$3")
display=$(realpath "$(dirname "$0")/../support/private_display.sh")
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

name=$(basename "$zip" .zip)             # korvanth-VERSION-windows-ARCH
arch=${name##*-windows-}
version=${name#korvanth-}
version=${version%-windows-"$arch"}
case $arch in
  x86_64) wine_arch=win64 pe_type='PE32+ executable.*x86-64' ;;
  i686) wine_arch=win32 pe_type='PE32 executable.*Intel 80386' ;;
  *) echo "$zip: no architecture x86_64 or i686 in its name" >&2; exit 2 ;;
esac

listing=$(unzip -Z1 "$zip" | grep -v '/$' | sort)
expected=$(printf '%s\n' "$name/LICENSE.txt" "$name/README.txt" "$name/korvanth-convert.exe" \
  "$name/korvanth.exe" "$name/sample-tiles.png" "$name/sample-tiles.png.blocks" | sort)
[ "$listing" = "$expected" ] || fail "the zip holds: $(tr '\n' ' ' <<<"$listing")"

work=$(mktemp -d)
export WINEPREFIX=$work/prefix WINEARCH=$wine_arch WINEDEBUG=-all
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$work"' EXIT
folder="$work/コルヴァンス 試用"
mkdir "$folder"
unzip -q "$zip" -d "$folder"
cd "$folder/$name"

grep -q "Copyright (c) 2026 The Korvanth developers" LICENSE.txt || fail "LICENSE.txt"
grep -q "^Korvanth for Windows" README.txt || fail "README.txt"
cmp -s sample-tiles.png "$sample" || fail "sample-tiles.png differs from $sample"
cmp -s sample-tiles.png.blocks "$sample.blocks" ||
  fail "sample-tiles.png.blocks differs from $sample.blocks"
# README.txt names every file the zip holds and no other, but for the files its example
# command lines (korvanth-convert.exe ... OUTPUT) write.
readme=$(tr -d '\r' <README.txt)
outputs=$(awk '$1 == "korvanth-convert.exe" && NF > 2 { print $NF }' <<<"$readme")
while read -r named; do
  if [ -z "$named" ] || grep -qxF -- "$named" <<<"$outputs"; then continue; fi
  [ -f "$named" ] || fail "README.txt names $named, which the zip lacks"
done < <(grep -oE '[A-Za-z0-9_][A-Za-z0-9_./-]*\.[A-Za-z][A-Za-z0-9]{1,3}\b' <<<"$readme" | sort -u)
while read -r held; do
  grep -qF -- "${held#"$name"/}" <<<"$readme" || fail "README.txt does not name ${held#"$name"/}"
done <<<"$listing"

for exe in korvanth.exe korvanth-convert.exe; do
  file "$exe" | grep -q "$pe_type" || fail "$exe is not an $arch program"
  # No debugging sections shipped (they more than double the programs' size).
  if "$arch-w64-mingw32-objdump" -h "$exe" | grep -q ' \.debug_'; then
    fail "$exe carries debugging sections"
  fi
  # The version resource's strings are UTF-16.
  info=$(wrestool -x --raw --type=16 "$exe" | iconv -f UTF-16LE -t UTF-8 2>/dev/null | tr '\0' '\n')
  grep -q "ProductName" <<<"$info" && grep -qx "Korvanth" <<<"$info" ||
    fail "$exe: no product name Korvanth"
  [ "$(grep -cx "$version" <<<"$info")" -ge 2 ] || fail "$exe: file and product version are not $version"
  grep -q "FileDescription" <<<"$info" && grep -qi "tile sheet" <<<"$info" ||
    fail "$exe: no file description"
  grep -qx "$exe" <<<"$info" || fail "$exe: original file name"
  # The icon: one group with every size Explorer asks for.
  wrestool -x --type=14 "$exe" >"$work/$exe.ico" 2>/dev/null || true
  sizes=$(icotool -l "$work/$exe.ico" 2>/dev/null | grep -oE 'width=[0-9]+' | cut -d= -f2 | sort -n |
    tr '\n' ' ')
  [ "$sizes" = "16 24 32 48 64 256 " ] || fail "$exe: icon sizes '$sizes'"
done

said=$(wine korvanth-convert.exe --version 2>/dev/null | tr -d '\r')
[ "$said" = "korvanth-convert $version" ] || fail "korvanth-convert.exe --version says '$said'"

cp "$sample" タイル.png
if wine korvanth-convert.exe --format terrain2 --cell 1,0 タイル.png 地形2.png 2>/dev/null; then
  "$linux" --format terrain2 --cell 1,0 タイル.png linux.png
  [ "$(compare -metric AE 地形2.png linux.png null: 2>&1)" = 0 ] ||
    fail "korvanth-convert.exe's sheet differs from the Linux converter's"
else
  fail "korvanth-convert.exe could not convert in $folder"
fi

# The window: it must come up under Xvfb and close on Alt+F4.
cat >"$work/window.sh" <<'INNER'
wine korvanth.exe タイル.png 2>/dev/null &
pid=$!
# Wine may take a while the first time it shows a window in a new prefix.
for _ in $(seq 1 600); do
  # With a picture loaded the title is "<file name> - Korvanth".
  window=$(xdotool search --name '^タイル\.png - Korvanth$' 2>/dev/null | head -n 1)
  [ -n "$window" ] && break
  sleep 0.2
done
[ -n "$window" ] || { echo "no window"; kill "$pid"; exit 1; }
[ -n "${KORVANTH_SHOT:-}" ] && sleep 1 && import -window root "$KORVANTH_SHOT"
xdotool windowfocus --sync "$window" key --clearmodifiers alt+F4
for _ in $(seq 1 100); do
  kill -0 "$pid" 2>/dev/null || exit 0
  sleep 0.2
done
echo "the window did not close"
kill "$pid"
exit 1
INNER
# A Wine session started without a display cannot open windows later: end it first.
wineserver -k >/dev/null 2>&1 || true
wineserver -w >/dev/null 2>&1 || true
result=$("$display" 1024x768 bash "$work/window.sh" 2>&1) ||
  fail "korvanth.exe under Wine: $result"

if ((failures)); then
  echo "$failures check(s) of $zip failed" >&2
  exit 1
fi
echo "Windows zip checks passed: $zip"
