#!/usr/bin/env bash
# Cross-builds the Windows programs (i686, static) with mingw-w64 into build-windows/.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build-windows}
if [ ! -f "$dir/build.ninja" ]; then
  cmake -S . -B "$dir" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$dir" -j "$(nproc)"
