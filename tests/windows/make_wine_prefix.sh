#!/usr/bin/env bash
# Creates a fresh Wine prefix for the Windows checks: 32-bit (win32) for the i686 programs,
# 64-bit (win64) for the x86_64 ones. Japanese texts need a font with their glyphs in place
# of the Windows UI fonts.
# Usage: tests/windows/make_wine_prefix.sh PREFIX [win32 | win64 | PROGRAM.exe]
# (win32 by default; a program gets a prefix that runs it).
set -euo pipefail
prefix=$(realpath -m "$1")
arch=${2:-win32}
if [ -f "$arch" ]; then
  arch=$(file -b "$arch" | grep -q '^PE32+ ' && echo win64 || echo win32)
fi
case $arch in
  win32 | win64) ;;
  *) echo "make_wine_prefix.sh: unknown architecture '$arch' (win32, win64)" >&2; exit 2 ;;
esac
wineserver_for() { WINEPREFIX="$prefix" wineserver "$@" >/dev/null 2>&1 || true; }
wineserver_for -k
rm -rf "$prefix"
mkdir -p "$(dirname "$prefix")"
export WINEPREFIX="$prefix" WINEARCH=$arch WINEDEBUG=-all
# No Mono or Gecko installer prompts: neither is needed.
export WINEDLLOVERRIDES="mscoree,mshtml="
wineboot -i >/dev/null 2>&1
for font in "MS UI Gothic" "MS Shell Dlg" "MS Shell Dlg 2" "Tahoma"; do
  wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$font" /t REG_SZ \
    /d "Noto Sans CJK JP" /f >/dev/null 2>&1
done
wineserver_for -w
grep -qx "#arch=$arch" "$prefix/system.reg"
grep -q 'Noto Sans CJK JP' "$prefix/user.reg"
echo "Wine prefix ready ($arch): $prefix"
