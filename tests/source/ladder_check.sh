#!/usr/bin/env bash
# The layers' ladder, checked in the sources: every #include "layer/..." in a layer's files
# names that layer or one below it, no product file reaches another folder by a relative
# path, and Qt headers appear only in the window's layer (platform/). The build enforces the
# same order through each layer's include root (cmake/Layers.cmake); this check names the
# offending line, and catches what a host's build never compiles (the other host's files).
# A relative include is judged by the folder it lands in.
# Usage: tests/source/ladder_check.sh [SOURCE_ROOT]
set -uo pipefail
cd "${1:-$(dirname "$0")/../..}"

# What each layer may include (itself and the layers below it).
declare -A allowed=(
  [api]="api"
  [imaging]="api imaging"
  [convert]="api imaging convert"
  [cli]="api imaging convert cli"
  [platform]="api imaging platform"
  [viewer]="api imaging convert platform viewer"
  [app]="api imaging convert platform viewer app"
)
layers="${!allowed[*]}"

failures=0
for layer in $layers; do
  [ -d "$layer" ] || continue
  while IFS=: read -r file line text; do
    included=$(sed -nE 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]+)".*/\1/p' <<<"$text")
    [ -n "$included" ] || continue
    case $included in
      ../* | */../*) included=$(realpath -m --relative-to=. "$(dirname "$file")/$included") ;;
    esac
    target=${included%%/*}
    # Names without a folder are the build's generated headers or files beside this one.
    [ "$target" != "$included" ] || continue
    [[ " $layers " == *" $target "* ]] || continue
    if [[ " ${allowed[$layer]} " != *" $target "* ]]; then
      echo "$file:$line: $layer/ may not include $included (allowed: ${allowed[$layer]})"
      failures=$((failures + 1))
    fi
  done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include' --include='*.h' --include='*.cpp' \
    --include='*.rc' --include='*.rc2' "$layer")
  if [ "$layer" != platform ]; then
    while IFS= read -r hit; do
      echo "$hit: Qt belongs to the window's layer (platform/) alone"
      failures=$((failures + 1))
    done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*<Q' --include='*.h' \
      --include='*.cpp' "$layer")
  fi
done
if ((failures)); then
  echo "$failures include(s) climb the ladder" >&2
  exit 1
fi
echo "the ladder holds"
