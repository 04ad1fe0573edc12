#!/usr/bin/env bash
# Makes the release packages into OUTDIR (dist/ by default):
#   korvanth-convert_VERSION_ARCH.deb     Debian package of the converter alone (no Qt)
#   korvanth_VERSION_ARCH.deb             Debian package of the window; depends on the first
#                                         (CPack; dependencies from dpkg-shlibdeps)
#   korvanth-VERSION-windows-x86_64.zip   both 64-bit Windows programs, the sample picture, the
#                                         zip's README and the licence
#   korvanth-VERSION-windows-i686.zip     the same for 32-bit Windows
# Usage: scripts/package.sh [OUTDIR]        KORVANTH_PACKAGES=deb or zip makes only one kind.
# The .debs are built with Debian's hardening flags (scripts/build-deb-tree.sh) in
# build-package/, or in the tree KORVANTH_DEB_TREE names when it was configured that way, and
# checked by lintian (errors fail, warnings are printed); the zips take the programs from
# build-win64/ and build-windows/.
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:-dist}")
which=${KORVANTH_PACKAGES:-deb zip}
mkdir -p "$out"

project_version() {
  sed -n 's/^#define KORVANTH_VERSION "\(.*\)"$/\1/p' "$1/generated/korvanth_version.h"
}

make_deb() {
  local dir=${KORVANTH_DEB_TREE:-build-package}
  if [ "$dir" != build-package ] && ! scripts/build-deb-tree.sh --check "$dir"; then
    echo "($dir/ was not configured by scripts/build-deb-tree.sh: the .debs come from build-package/)"
    dir=build-package
  fi
  if [ "$dir" = build-package ]; then
    scripts/build-deb-tree.sh "$dir" -DCMAKE_BUILD_TYPE=Release -DKORVANTH_BUILD_TESTS=OFF \
      -DKORVANTH_BUILD_BENCH=OFF
  else
    scripts/build.sh "$dir"
  fi
  rm -f "$dir"/korvanth*.deb
  echo "== making the .deb packages (cpack in $dir/)"
  (cd "$dir" && cpack -G DEB >/dev/null)
  local deb status=0 report
  for deb in "$dir"/korvanth-convert_*.deb "$dir"/korvanth_*.deb; do
    rm -f "$out/$(basename "$deb" | sed 's/_.*//')"_*.deb
    cp "$deb" "$out/"
    deb=$out/$(basename "$deb")
    echo "$deb ($(stat -c %s "$deb") bytes)"
    # Lintian: errors fail the packaging, warnings are shown.
    report=$(lintian --tag-display-limit 0 "$deb" 2>&1 || true)
    if [ -n "$report" ]; then printf '%s\n' "$report"; fi
    if grep -q '^E: ' <<<"$report"; then
      echo "lintian found errors in $deb" >&2
      status=1
    fi
  done
  return $status
}

make_zip() {  # BUILD_DIR ARCH
  local dir=$1 arch=$2
  scripts/build-windows.sh "$dir" "$arch"
  local version stage name
  version=$(project_version "$dir")
  name=korvanth-$version-windows-$arch
  stage=$(mktemp -d)
  mkdir "$stage/$name"
  cp "$dir/app/korvanth.exe" "$dir/cli/korvanth-convert.exe" "$stage/$name/"
  # The build keeps its debugging sections; users get the programs without them.
  "$arch-w64-mingw32-strip" "$stage/$name/korvanth.exe" "$stage/$name/korvanth-convert.exe"
  # The sample the window opens when it starts without a picture, and its block map.
  cp samples/sample-tiles.png samples/sample-tiles.png.blocks "$stage/$name/"
  # Text files with Windows line ends, so every editor shows them as they are. The README
  # is the zip's own: it describes only what the zip holds.
  sed 's/$/\r/' packaging/windows/README.txt >"$stage/$name/README.txt"
  sed 's/$/\r/' LICENSE >"$stage/$name/LICENSE.txt"
  rm -f "$out"/korvanth-*-windows-"$arch".zip
  (cd "$stage" && zip -q -X -r "$out/$name.zip" "$name")
  rm -rf "$stage"
  echo "$out/$name.zip ($(stat -c %s "$out/$name.zip") bytes)"
}

for kind in $which; do
  case $kind in
    deb) make_deb ;;
    zip)
      make_zip build-win64 x86_64
      make_zip build-windows i686
      ;;
    *) echo "unknown package kind '$kind' (deb, zip)" >&2; exit 2 ;;
  esac
done
