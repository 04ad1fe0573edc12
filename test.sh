#!/usr/bin/env bash
# Runs every test: installs what is missing, builds, runs the suites normally and under
# AddressSanitizer + UndefinedBehaviorSanitizer, cross-builds the Windows programs and runs
# the shipped i686 ones under 32-bit Wine: the converter against the Linux one, the window
# under Xvfb; then makes the .deb and the Windows zip (scripts/package.sh) and checks them.
# KORVANTH_QUICK=1 runs the normal build's tests only.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh

export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

echo "== build (build/)"
scripts/build.sh build
echo "== tests"
ctest --test-dir build --output-on-failure -j "$jobs"
echo "== the window at device pixel ratio 2 under Xvfb"
tests/x11/scale2_check.sh build/app/korvanth samples/sample-tiles.png

if [ "${KORVANTH_QUICK:-0}" != 1 ]; then
  echo "== build with AddressSanitizer + UndefinedBehaviorSanitizer (build-sanitize/)"
  scripts/build.sh build-sanitize -DKORVANTH_SANITIZE=ON -DKORVANTH_BUILD_BENCH=OFF \
    -DCMAKE_BUILD_TYPE=Debug
  echo "== tests under the sanitizers"
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
    LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0 \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build-sanitize --output-on-failure -j "$jobs"

  echo "== Windows cross-build (build-windows/: i686, the shipped target)"
  scripts/build-windows.sh build-windows i686
  ls -l build-windows/cli/korvanth-convert.exe build-windows/app/korvanth.exe
  echo "== 64-bit Windows cross-build (build-win64/: x86_64, built only)"
  scripts/build-windows.sh build-win64 x86_64

  echo "== the i686 Windows programs under 32-bit Wine (prefix: build-windows/wine-prefix)"
  tests/windows/make_wine_prefix.sh build-windows/wine-prefix
  export WINEPREFIX=$PWD/build-windows/wine-prefix
  tests/windows/converter_check.sh build/cli/korvanth-convert build-windows/cli/korvanth-convert.exe
  tests/windows/wine_tilesets.sh build/cli/korvanth-convert build-windows/cli/korvanth-convert.exe
  tests/windows/window_check.sh build-windows/app/korvanth.exe build/cli/korvanth-convert
fi

if [ "${KORVANTH_QUICK:-0}" != 1 ]; then
  echo "== packages (dist/): the .deb and the Windows zip as users get them"
  scripts/package.sh dist
  tests/package/check_deb.sh dist/korvanth_*.deb samples/sample-tiles.png
  tests/package/check_windows_zip.sh dist/korvanth-*-windows-i686.zip samples/sample-tiles.png \
    build/cli/korvanth-convert
fi
