#!/usr/bin/env bash
# Configures and builds a tree the way the .deb packages are built: Debian's compiler and
# linker hardening flags (dpkg-buildflags, read by CMake when the tree is configured) and
# /usr as the install prefix. test.sh builds its normal tree this way, so the packages come
# from the programs the tests ran rather than from a build of their own.
# Usage: scripts/build-deb-tree.sh DIR [cmake options...] [-- TARGET...]
#        scripts/build-deb-tree.sh --check DIR   (exit 0 when DIR was configured this way)
set -euo pipefail
cd "$(dirname "$0")/.."
flag() { DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get "$1"; }
cxxflags="$(flag CXXFLAGS) $(flag CPPFLAGS)"
ldflags=$(flag LDFLAGS)

if [ "${1:-}" = --check ]; then
  cache=$2/CMakeCache.txt
  [ -f "$cache" ] &&
    grep -qxF "CMAKE_CXX_FLAGS:STRING=$cxxflags" "$cache" &&
    grep -qxF "CMAKE_EXE_LINKER_FLAGS:STRING=$ldflags" "$cache" &&
    grep -qxF "CMAKE_INSTALL_PREFIX:PATH=/usr" "$cache"
  exit
fi
dir=$1
shift
CXXFLAGS=$cxxflags LDFLAGS=$ldflags scripts/build.sh "$dir" -DCMAKE_INSTALL_PREFIX=/usr "$@"
