#!/usr/bin/env bash
# Creates a fresh 32-bit Wine prefix for the Windows checks: the shipped programs are i686.
# Japanese texts need a font with their glyphs in place of the Windows UI fonts.
# Usage: tests/windows/make_wine_prefix.sh PREFIX
set -euo pipefail
prefix=$(realpath -m "$1")
wineserver_for() { WINEPREFIX="$prefix" wineserver "$@" >/dev/null 2>&1 || true; }
wineserver_for -k
rm -rf "$prefix"
mkdir -p "$(dirname "$prefix")"
export WINEPREFIX="$prefix" WINEARCH=win32 WINEDEBUG=-all
# No Mono or Gecko installer prompts: neither is needed.
export WINEDLLOVERRIDES="mscoree,mshtml="
wineboot -i >/dev/null 2>&1
for font in "MS UI Gothic" "MS Shell Dlg" "MS Shell Dlg 2" "Tahoma"; do
  wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$font" /t REG_SZ \
    /d "Noto Sans CJK JP" /f >/dev/null 2>&1
done
wineserver_for -w
test -f "$prefix/system.reg"
grep -q 'Noto Sans CJK JP' "$prefix/user.reg"
echo "Wine prefix ready: $prefix"
