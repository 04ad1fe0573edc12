#!/usr/bin/env bash
# Checks the two built .deb packages as a user would meet them: korvanth-convert (the
# converter alone, installable without Qt or a display) and korvanth (the window, which
# depends on the same release's converter). Their files, their computed dependencies, the
# desktop entry and manual pages, and the programs run from private roots (dpkg -x): the
# converter alone converting the sample, the window (under Xvfb) opening with its icon.
# Usage: tests/package/check_deb.sh CONVERTER_DEB WINDOW_DEB SAMPLE_PICTURE
set -euo pipefail
converter_deb=$(realpath "$1")
deb=$(realpath "$2")
sample=$(realpath "$3")
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

contents() {  # the package's paths, each from /
  dpkg-deb --contents "$1" | awk '{print $NF}' | sed 's,^\./,/,'
}
expect_file() {  # LISTING PATH
  grep -qx -- "$2" <<<"$1" || fail "the package lacks $2"
}
converter_listing=$(contents "$converter_deb")
listing=$(contents "$deb")

for path in /usr/bin/korvanth-convert /usr/share/man/man1/korvanth-convert.1.gz \
  /usr/share/bash-completion/completions/korvanth-convert \
  /usr/share/doc/korvanth-convert/copyright /usr/share/doc/korvanth-convert/changelog.gz; do
  expect_file "$converter_listing" "$path"
done
icon_sizes=(16 22 24 32 48 64 128 256)
for path in /usr/bin/korvanth /usr/share/applications/korvanth.desktop /usr/share/korvanth/sample-tiles.png \
  /usr/share/korvanth/sample-tiles.png.blocks \
  /usr/share/icons/hicolor/scalable/apps/korvanth.svg /usr/share/man/man1/korvanth.1.gz \
  /usr/share/doc/korvanth/copyright /usr/share/doc/korvanth/changelog.gz; do
  expect_file "$listing" "$path"
done
for size in "${icon_sizes[@]}"; do
  expect_file "$listing" "/usr/share/icons/hicolor/${size}x${size}/apps/korvanth.png"
done
# No file in both packages (dpkg would refuse to install the pair), nothing outside /usr,
# and nothing of the build (tests, benchmarks, static libraries).
both=$(comm -12 <(grep -v '/$' <<<"$converter_listing" | sort) <(grep -v '/$' <<<"$listing" | sort))
[ -z "$both" ] || fail "files in both packages: $both"
while read -r path; do
  case $path in
    /usr/* | /usr | /) ;;
    *) fail "unexpected path in a package: $path" ;;
  esac
done <<<"$converter_listing"$'\n'"$listing"
if grep -qE '_tests$|_bench$|\.a$|\.h$' <<<"$converter_listing"$'\n'"$listing"; then
  fail "build files in a package"
fi

[ "$(dpkg-deb --field "$converter_deb" Package)" = korvanth-convert ] || fail "converter package name"
[ "$(dpkg-deb --field "$deb" Package)" = korvanth ] || fail "package name"
for package in "$converter_deb" "$deb"; do
  [ "$(dpkg-deb --field "$package" Section)" = graphics ] || fail "section of $package"
done
version=$(dpkg-deb --field "$deb" Version)
[ "$(dpkg-deb --field "$converter_deb" Version)" = "$version" ] || fail "the two versions differ"
# The window's package pulls in the same release's converter.
dpkg-deb --field "$deb" Depends | tr ',' '\n' | sed 's/^ *//' |
  grep -qx "korvanth-convert (= $version)" || fail "korvanth does not depend on korvanth-convert (= $version)"
# A build server installs the converter alone: nothing of Qt, X11, GL or ICU.
if dpkg-deb --field "$converter_deb" Depends | grep -qiE 'qt|libx11|libxcb|libgl|libegl|libicu'; then
  fail "korvanth-convert depends on a GUI library: $(dpkg-deb --field "$converter_deb" Depends)"
fi

# The converter alone in one root; the pair, as apt installs it, in another.
converter_root=$(mktemp -d)
root=$(mktemp -d)
trap 'rm -rf "$converter_root" "$root"' EXIT
dpkg-deb -x "$converter_deb" "$converter_root"
dpkg-deb -x "$converter_deb" "$root"
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
# check_depends DEB ROOT: Depends names the package of every library the DEB's programs
# (unpacked in ROOT) link, and nothing else but korvanth-convert.
check_depends() {
  local package=$1 unpacked=$2 depends depends_names linked_owners= program resolved needed
  local library owner name
  depends=$(dpkg-deb --field "$package" Depends)
  # The package names alone, one a line.
  depends_names=$(tr ',|' '\n\n' <<<"$depends" | awk '{print $1}')
  while read -r program; do
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
    # The one library opened with dlopen (libtiff, when a TIFF is first read), named by
    # its SONAME inside the program and found beside the C library: Depends names its
    # package too, unless the converter (which names it) comes with the package.
    while read -r needed; do
      library=$(dirname "$(awk '$1 == "libc.so.6" { print $3 }' <<<"$resolved")")/$needed
      [ -e "$library" ] || { fail "$(basename "$program") opens $needed, which is not found"; continue; }
      owner=$(owner_of "$library") || { fail "no package owns $library"; continue; }
      linked_owners+="$owner"$'\n'
      if ! grep -qxF "$owner" <<<"$depends_names" && ! grep -qx korvanth-convert <<<"$depends_names"; then
        fail "Depends lacks $owner ($needed, opened by $(basename "$program")): $depends"
      fi
    done < <(grep -aoE 'libtiff\.so\.[0-9]+' "$program" | sort -u)
  done < <(dpkg-deb --contents "$package" | awk '{print $NF}' | sed -n 's,^\./usr/bin/,'"$unpacked"'/usr/bin/,p' |
    grep -v '/$')
  # And nothing else: every package Depends names holds a library the programs link.
  while read -r name; do
    [ -n "$name" ] && [ "$name" != korvanth-convert ] || continue
    grep -qxF "$name" <<<"$linked_owners" || fail "$(basename "$package"): Depends names $name, which no program links"
  done <<<"$depends_names"
}
grep -aqE 'libtiff\.so\.[0-9]+' "$converter_root/usr/bin/korvanth-convert" ||
  fail "korvanth-convert names no libtiff to open for TIFF pictures"
check_depends "$converter_deb" "$converter_root"
check_depends "$deb" "$root"

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

cmp -s "$root/usr/share/korvanth/sample-tiles.png" "$sample" ||
  fail "/usr/share/korvanth/sample-tiles.png differs from $sample"
cmp -s "$root/usr/share/korvanth/sample-tiles.png.blocks" "$sample.blocks" ||
  fail "/usr/share/korvanth/sample-tiles.png.blocks differs from $sample.blocks"
# The manual pages name only files of /usr that the packages hold.
for page in korvanth korvanth-convert; do
  while read -r named; do
    grep -qxF -- "$named" <<<"$converter_listing"$'\n'"$listing" ||
      fail "man page $page names $named, which no package holds"
  done < <(zcat "$root/usr/share/man/man1/$page.1.gz" | grep -oE '/usr/[A-Za-z0-9_./-]*[A-Za-z0-9_]' | sort -u)
done
# Started without a picture, the packaged window opens the sample from its share folder.
"$(dirname "$0")/window_title.sh" "$root/usr/bin/korvanth" '^sample-tiles\.png - Korvanth$' ||
  fail "the packaged korvanth did not open the sample without a picture"

# The entry's command, from the package, opens the window with the program's icon.
program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
"$(dirname "$0")/window_icon.sh" "$root/usr/bin/$program" "$sample" ||
  fail "the packaged $program did not show its window with its icon"

for page in korvanth korvanth-convert; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$root/usr/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "man page $page: $warnings"
done

said=$("$converter_root/usr/bin/korvanth-convert" --version)
[ "$said" = "korvanth-convert $version" ] || fail "--version says '$said', the package is $version"

sheet=$converter_root/roof.png
if "$converter_root/usr/bin/korvanth-convert" --format roof --cell 1,1 "$sample" "$sheet"; then
  # A roof sheet is 96 x 128 pixels, read back from the PNG header.
  read -r width height < <(od -An -tu1 -j16 -N8 "$sheet" |
    awk '{print $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8}')
  [ "$width x $height" = "96 x 128" ] || fail "the sheet is $width x $height, not 96 x 128"
else
  fail "the packaged korvanth-convert could not convert $sample"
fi

if ((failures)); then
  echo "$failures check(s) of $converter_deb and $deb failed" >&2
  exit 1
fi
echo "package checks passed: $converter_deb $deb"
