#!/usr/bin/env bash
# Checks a built korvanth .deb as a user would meet it: its files, its computed
# dependencies, its desktop entry and manual pages, and its programs run from a private
# root (dpkg -x): the converter converting the sample there, the window (under Xvfb)
# opening with the program's icon.
# Usage: tests/package/check_deb.sh DEB SAMPLE_PICTURE
set -euo pipefail
deb=$(realpath "$1")
sample=$(realpath "$2")
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

listing=$(dpkg-deb --contents "$deb" | awk '{print $NF}' | sed 's,^\./,/,')
expect_file() {
  grep -qx -- "$1" <<<"$listing" || fail "the package lacks $1"
}

icon_sizes=(16 22 24 32 48 64 128 256)
for path in /usr/bin/korvanth /usr/bin/korvanth-convert \
  /usr/share/applications/korvanth.desktop \
  /usr/share/icons/hicolor/scalable/apps/korvanth.svg \
  /usr/share/man/man1/korvanth.1.gz /usr/share/man/man1/korvanth-convert.1.gz \
  /usr/share/bash-completion/completions/korvanth-convert \
  /usr/share/doc/korvanth/copyright /usr/share/doc/korvanth/changelog.gz; do
  expect_file "$path"
done
for size in "${icon_sizes[@]}"; do
  expect_file "/usr/share/icons/hicolor/${size}x${size}/apps/korvanth.png"
done
# Nothing outside /usr, and nothing of the build (tests, benchmarks, static libraries).
while read -r path; do
  case $path in
    /usr/* | /usr | /) ;;
    *) fail "unexpected path in the package: $path" ;;
  esac
done <<<"$listing"
if grep -qE '_tests$|_bench$|\.a$|\.h$' <<<"$listing"; then fail "build files in the package"; fi

[ "$(dpkg-deb --field "$deb" Package)" = korvanth ] || fail "package name"
[ "$(dpkg-deb --field "$deb" Section)" = graphics ] || fail "section"

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"

# Depends names the package of every library the programs link directly (found here with
# readelf, ldd and dpkg -S, not with the dpkg-shlibdeps that made the list).
owner_of() {  # the package holding a library file, under either of its merged-/usr names
  local path candidates
  path=$(realpath "$1")
  candidates=("$1" "$path" "${path#/usr}" "/usr$1")
  for candidate in "${candidates[@]}"; do
    dpkg -S "$candidate" 2>/dev/null | head -n 1 | cut -d: -f1 && return 0
  done
  return 1
}
depends=$(dpkg-deb --field "$deb" Depends)
# The package names alone, one a line.
depends_names=$(tr ',|' '\n\n' <<<"$depends" | awk '{print $1}')
linked_owners=
for program in "$root"/usr/bin/*; do
  resolved=$(ldd "$program")
  while read -r needed; do
    # "libX.so.N => /path (address)", or the loader itself as "/path/ld-linux... (address)".
    library=$(awk -v name="$needed" '
      $2 == "=>" && $1 == name { print $3 }
      $2 != "=>" && $1 ~ /^\// { n = split($1, part, "/"); if (part[n] == name) print $1 }' \
      <<<"$resolved")
    [ -n "$library" ] || { fail "$(basename "$program") links $needed, which is not found"; continue; }
    owner=$(owner_of "$library") || { fail "no package owns $library"; continue; }
    linked_owners+="$owner"$'\n'
    grep -qxF "$owner" <<<"$depends_names" ||
      fail "Depends lacks $owner ($needed, linked by $(basename "$program")): $depends"
  done < <(readelf -d "$program" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
done
# And nothing else: every package Depends names holds a library the programs link.
while read -r name; do
  [ -n "$name" ] || continue
  grep -qxF "$name" <<<"$linked_owners" || fail "Depends names $name, which no program links"
done <<<"$depends_names"

# The dialogs speak Japanese through Qt's own translation, which Qt loads from its
# translations folder at run time, where no tool sees it: Depends or Recommends (which apt
# installs by default) must name the package that holds it.
translation=$(qtpaths6 --query QT_INSTALL_TRANSLATIONS)/qtbase_ja.qm
if owner=$(owner_of "$translation"); then
  relations=$({
    dpkg-deb --field "$deb" Depends
    dpkg-deb --field "$deb" Recommends
  } | tr ',|' '\n\n' | awk '{print $1}')
  grep -qxF "$owner" <<<"$relations" ||
    fail "neither Depends nor Recommends names $owner (the dialogs' Japanese, $translation)"
else
  fail "no package owns $translation"
fi

# Every PNG icon is as large as its folder says (read from the PNG header itself).
for size in "${icon_sizes[@]}"; do
  png=$root/usr/share/icons/hicolor/${size}x${size}/apps/korvanth.png
  [ -f "$png" ] || continue
  read -r width height < <(od -An -tu1 -j16 -N8 "$png" |
    awk '{print $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8}')
  [ "$width x $height" = "$size x $size" ] || fail "icon ${size}x${size} is $width x $height"
done

desktop=$root/usr/share/applications/korvanth.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the entry"
grep -qx 'Exec=korvanth %f' "$desktop" || fail "the desktop entry's command"
grep -qx 'Icon=korvanth' "$desktop" || fail "the desktop entry's icon"
for type in image/png image/bmp image/gif image/jpeg image/tiff; do
  grep -q "^MimeType=.*$type;" "$desktop" || fail "the desktop entry lacks $type"
done

# The entry's command, from the package, opens the window with the program's icon.
program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
"$(dirname "$0")/window_icon.sh" "$root/usr/bin/$program" "$sample" ||
  fail "the packaged $program did not show its window with its icon"

for page in korvanth korvanth-convert; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$root/usr/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "man page $page: $warnings"
done

version=$(dpkg-deb --field "$deb" Version)
said=$("$root/usr/bin/korvanth-convert" --version)
[ "$said" = "korvanth-convert $version" ] || fail "--version says '$said', the package is $version"

sheet=$root/roof.png
if "$root/usr/bin/korvanth-convert" --format roof --cell 1,1 "$sample" "$sheet"; then
  # A roof sheet is 96 x 128 pixels, read back from the PNG header.
  read -r width height < <(od -An -tu1 -j16 -N8 "$sheet" |
    awk '{print $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8}')
  [ "$width x $height" = "96 x 128" ] || fail "the sheet is $width x $height, not 96 x 128"
else
  fail "the packaged korvanth-convert could not convert $sample"
fi

if ((failures)); then
  echo "$failures check(s) of $deb failed" >&2
  exit 1
fi
echo "package checks passed: $deb"
