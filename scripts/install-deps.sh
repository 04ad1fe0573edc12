#!/usr/bin/env bash
# Installs the Debian packages Korvanth needs. Idempotent and quick: apt is only called
# when something is missing, and then shows its own lines (one per download and package
# set up, no progress bar) under a heading.
# Usage: scripts/install-deps.sh run    what building and running the two programs needs
#                                        (./run.sh)
#        scripts/install-deps.sh test   that, and what the tests, the sanitizer and fuzz
#                                        builds, the Windows cross-builds under Wine and the
#                                        packages need (./test.sh)
set -euo pipefail

# Building: the compiler, CMake and Ninja; the picture libraries and Qt; rsvg-convert
# renders the icon the build puts in the window and the packages. Running: the window's
# Japanese texts need a font that has them and Qt's own Japanese dialog texts.
run_packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev libgif-dev libpng-dev libjpeg-dev libtiff-dev zlib1g-dev librsvg2-bin
  fonts-noto-cjk qt6-translations-l10n
)

# The tests and their tools (GoogleTest, Google Benchmark, Qt's TIFF reader, ImageMagick,
# Xvfb and the X tools, Tiled, clang for the fuzz targets, ...), the Windows cross-builds
# and Wine, and the packages' makers and checkers.
test_packages=(
  qt6-image-formats-plugins libgtest-dev libgmock-dev libbenchmark-dev
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 libz-mingw-w64-dev wine wine64
  hyperfine imagemagick xvfb xauth clang-format
  dpkg-dev file lintian desktop-file-utils icoutils zip unzip
  x11-utils xdotool man-db groff-base python3
  tiled
  clang libclang-rt-14-dev libjpeg-turbo-progs libtiff-tools
)

case ${1:-} in
  run) packages=("${run_packages[@]}") ;;
  test)
    packages=("${run_packages[@]}" "${test_packages[@]}")
    # The shipped Windows programs are 32-bit and are checked under 32-bit Wine.
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
      echo "== adding the i386 architecture (for 32-bit Wine)"
      if [ "$(id -u)" -ne 0 ]; then sudo dpkg --add-architecture i386; else dpkg --add-architecture i386; fi
    fi
    packages+=(wine32:i386)
    ;;
  *)
    echo "usage: $0 run|test  (run: to build and run the programs; test: to run every test too)" >&2
    exit 2
    ;;
esac

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  sudo_cmd=()
  if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
  # A mirror caught mid-sync fails one index now and then: try again, and go on with the
  # lists that did arrive (the install below says plainly if a package is still missing).
  for attempt in 1 2 3; do
    echo "== updating the package lists (apt-get update, attempt $attempt)"
    if "${sudo_cmd[@]}" apt-get update -q; then break; fi
    if ((attempt == 3)); then echo "(some package lists failed to update; using what arrived)"; fi
    sleep $((attempt * 5))
  done
  echo "== installing the $1 dependencies (apt-get): ${#missing[@]} of ${#packages[@]} packages:" \
    "${missing[*]}"
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends \
    "${missing[@]}"
else
  echo "== $1 dependencies: all ${#packages[@]} packages are installed"
fi
