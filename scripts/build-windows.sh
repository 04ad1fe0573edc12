#!/usr/bin/env bash
# Cross-builds the Windows programs (static) with mingw-w64 into build-windows/.
# Usage: scripts/build-windows.sh [DIR] [i686|x86_64]   (i686, the shipped target, by default)
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build-windows}
arch=${2:-i686}
scripts/build.sh "$dir" -DCMAKE_TOOLCHAIN_FILE="cmake/mingw-$arch.cmake" -DCMAKE_BUILD_TYPE=Release
