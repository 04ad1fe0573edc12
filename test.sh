#!/usr/bin/env bash
# Runs every test: installs what is missing, builds, runs the suites normally and under
# AddressSanitizer + UndefinedBehaviorSanitizer, replays the fuzz regression corpus and
# runs the fuzz targets briefly (scripts/fuzz.sh), cross-builds the Windows programs and runs
# them under Wine (the x86_64 ones under 64-bit Wine, the i686 ones under 32-bit): the
# converter against the Linux one, the window under Xvfb; then makes the .debs and both
# Windows zips (scripts/package.sh) and checks them. Each stage's minutes are listed last.
# KORVANTH_QUICK=1 runs the normal build's tests only.
#
# The machine's cores are kept busy: the Windows cross-builds run at the lowest priority
# behind the Linux stages (which leave a core idle while tests wait on Xvfb and while the
# fuzz targets run one at a time), the two widths' Wine checks run side by side, and the
# .debs are made from the normal tree, configured as Debian builds its packages.
set -euo pipefail
cd "$(dirname "$0")"
quick=${KORVANTH_QUICK:-0}
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

timings=()
stage_name='' stage_start=0
stage() {  # ends the stage running (if any) and starts the next one, named $1
  local now=$SECONDS
  if [ -n "$stage_name" ]; then timings+=("$(printf '%4d s  %s' $((now - stage_start)) "$stage_name")"); fi
  stage_name=$1 stage_start=$now
}

stage "install check"
scripts/install-deps.sh test

stage "normal build"
# A tree ./run.sh configured has the tests and benchmarks off: on with them.
if grep -qsxE 'KORVANTH_BUILD_(TESTS|BENCH):BOOL=OFF' build/CMakeCache.txt; then
  echo "== turning the tests and benchmarks on in build/ (./run.sh configured it without them)"
  cmake -S . -B build -DKORVANTH_BUILD_TESTS=ON -DKORVANTH_BUILD_BENCH=ON
fi
scripts/build-deb-tree.sh build

background=()
# A job in the background gets a session of its own, so that a failure here ends it
# (and its compilers) with it.
trap 'for pid in "${background[@]}"; do kill -- -"$pid" 2>/dev/null || true; done' EXIT
windows_targets=("build-win64 x86_64 win64" "build-windows i686 win32")
if [ "$quick" != 1 ]; then
  echo "== Windows cross-builds (build-win64/: x86_64, then build-windows/: i686) in the background;"
  echo "   their lines follow when the Linux checks are done"
  setsid nice -n 19 bash -c 'scripts/build-windows.sh build-win64 x86_64 &&
    scripts/build-windows.sh build-windows i686' >build/windows-builds.log 2>&1 &
  background+=($!)
fi

stage "normal tests"
echo "== tests"
ctest --test-dir build --output-on-failure -j "$jobs"
stage "the window at scale 2 under Xvfb"
echo "== the window at device pixel ratio 2 under Xvfb"
tests/x11/scale2_check.sh build/app/korvanth samples/sample-tiles.png

if [ "$quick" != 1 ]; then
  stage "sanitizer build"
  echo "== with AddressSanitizer + UndefinedBehaviorSanitizer (build-sanitize/)"
  scripts/build.sh build-sanitize -DKORVANTH_SANITIZE=ON -DKORVANTH_BUILD_BENCH=OFF \
    -DCMAKE_BUILD_TYPE=Debug
  stage "sanitizer tests"
  echo "== tests under the sanitizers"
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
    LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0 \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build-sanitize --output-on-failure -j "$jobs"
  stage "fuzz corpus replay"
  echo "== the fuzz regression corpus and seeds through the sanitizer build's converter"
  tests/fuzz/replay.sh build-sanitize/cli/korvanth-convert
  stage "fuzz build and runs"
  echo "== the fuzz targets, 15 seconds each (build-fuzz/)"
  scripts/fuzz.sh 15

  stage "waiting for the Windows builds"
  status=0
  wait "${background[0]}" || status=$?
  background=()
  cat build/windows-builds.log
  if ((status)); then echo "the Windows cross-builds failed" >&2; exit 1; fi

  # Each build is checked under Wine of its own width, in a prefix of its own; the two
  # widths side by side, each into a log shown whole when both are done.
  stage "Wine checks, both widths"
  for target in "${windows_targets[@]}"; do
    read -r dir arch wine_arch <<<"$target"
    ls -l "$dir/cli/korvanth-convert.exe" "$dir/app/korvanth.exe"
    setsid bash -c '
      set -euo pipefail
      dir=$1 arch=$2 wine_arch=$3
      echo "== the $arch Windows programs under Wine ($wine_arch prefix: $dir/wine-prefix)"
      tests/windows/make_wine_prefix.sh "$dir/wine-prefix" "$wine_arch"
      export WINEPREFIX=$PWD/$dir/wine-prefix
      tests/windows/converter_check.sh build/cli/korvanth-convert "$dir/cli/korvanth-convert.exe"
      tests/windows/wine_tilesets.sh build/cli/korvanth-convert "$dir/cli/korvanth-convert.exe"
      tests/windows/window_check.sh "$dir/app/korvanth.exe" build/cli/korvanth-convert
    ' wine-check "$dir" "$arch" "$wine_arch" >"$dir/wine-checks.log" 2>&1 &
    background+=($!)
  done
  failed=()
  for i in "${!windows_targets[@]}"; do
    read -r dir arch _ <<<"${windows_targets[$i]}"
    wait "${background[$i]}" || failed+=("$arch")
    cat "$dir/wine-checks.log"
  done
  background=()
  if ((${#failed[@]})); then echo "the Wine checks failed for: ${failed[*]}" >&2; exit 1; fi

  stage "packages and their checks"
  echo "== packages (dist/): the .debs and the Windows zips as users get them"
  KORVANTH_DEB_TREE=build scripts/package.sh dist
  tests/package/check_deb.sh dist/korvanth-convert_*.deb dist/korvanth_*.deb samples/sample-tiles.png
  for arch in x86_64 i686; do
    tests/package/check_windows_zip.sh dist/korvanth-*-windows-$arch.zip samples/sample-tiles.png \
      build/cli/korvanth-convert
  done
fi

stage ""
echo "== where the time went (${SECONDS} s in all)"
printf '%s\n' "${timings[@]}"
