#!/usr/bin/env bash
# Runs every test: installs what is missing, builds, runs the suites normally and under
# AddressSanitizer + UndefinedBehaviorSanitizer, replays the fuzz regression corpus and
# runs the fuzz targets briefly (scripts/fuzz.sh), cross-builds the Windows programs and runs
# them under Wine (the x86_64 ones under 64-bit Wine, the i686 ones under 32-bit): the
# converter against the Linux one, the window under Xvfb; then makes the .deb and both
# Windows zips (scripts/package.sh) and checks them.
# KORVANTH_QUICK=1 runs the normal build's tests only.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh

export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

scripts/build.sh build
echo "== tests"
ctest --test-dir build --output-on-failure -j "$jobs"
echo "== the window at device pixel ratio 2 under Xvfb"
tests/x11/scale2_check.sh build/app/korvanth samples/sample-tiles.png

if [ "${KORVANTH_QUICK:-0}" != 1 ]; then
  echo "== with AddressSanitizer + UndefinedBehaviorSanitizer (build-sanitize/)"
  scripts/build.sh build-sanitize -DKORVANTH_SANITIZE=ON -DKORVANTH_BUILD_BENCH=OFF \
    -DCMAKE_BUILD_TYPE=Debug
  echo "== tests under the sanitizers"
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
    LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0 \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build-sanitize --output-on-failure -j "$jobs"
  echo "== the fuzz regression corpus and seeds through the sanitizer build's converter"
  tests/fuzz/replay.sh build-sanitize/cli/korvanth-convert
  echo "== the fuzz targets, 15 seconds each (build-fuzz/)"
  scripts/fuzz.sh 15

  # Each build is checked under Wine of its own width, in a prefix of its own.
  for target in "build-win64 x86_64 win64" "build-windows i686 win32"; do
    read -r dir arch wine_arch <<<"$target"
    echo "== Windows cross-build ($dir/: $arch)"
    scripts/build-windows.sh "$dir" "$arch"
    ls -l "$dir/cli/korvanth-convert.exe" "$dir/app/korvanth.exe"
    echo "== the $arch Windows programs under Wine ($wine_arch prefix: $dir/wine-prefix)"
    tests/windows/make_wine_prefix.sh "$dir/wine-prefix" "$wine_arch"
    export WINEPREFIX=$PWD/$dir/wine-prefix
    tests/windows/converter_check.sh build/cli/korvanth-convert "$dir/cli/korvanth-convert.exe"
    tests/windows/wine_tilesets.sh build/cli/korvanth-convert "$dir/cli/korvanth-convert.exe"
    tests/windows/window_check.sh "$dir/app/korvanth.exe" build/cli/korvanth-convert
  done
  unset WINEPREFIX
fi

if [ "${KORVANTH_QUICK:-0}" != 1 ]; then
  echo "== packages (dist/): the .deb and the Windows zips as users get them"
  scripts/package.sh dist
  tests/package/check_deb.sh dist/korvanth-convert_*.deb dist/korvanth_*.deb samples/sample-tiles.png
  for arch in x86_64 i686; do
    tests/package/check_windows_zip.sh dist/korvanth-*-windows-$arch.zip samples/sample-tiles.png \
      build/cli/korvanth-convert
  done
fi
