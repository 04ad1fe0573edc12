#!/usr/bin/env bash
# Bash completion of korvanth-convert, driven the way bash drives it (COMP_WORDS,
# COMP_CWORD, then the registered function), against the built program.
# Usage: tests/package/completion_test.sh PROGRAM COMPLETION_FILE
set -uo pipefail
program=$(realpath "$1")
completion=$2

# The completion is for the command as a user types it: found on PATH.
bin=$(mktemp -d)
trap 'rm -rf "$bin"' EXIT
ln -s "$program" "$bin/korvanth-convert"
export PATH=$bin:$PATH
# shellcheck source=/dev/null
source "$completion"
function=$(complete -p korvanth-convert | grep -oE -- '-F [^ ]+' | cut -d' ' -f2)

failures=0
# complete WORDS... : the sorted candidates for the last word.
complete_words() {
  COMP_WORDS=("$@")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  "$function" korvanth-convert "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]:-}"
  printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' ' | sed 's/ $//'
}
check() {
  local expected=$1
  shift
  local got
  got=$(complete_words "$@")
  if [ "$got" != "$expected" ]; then
    echo "FAIL: completing '$*': expected '$expected', got '$got'" >&2
    failures=$((failures + 1))
  fi
}

# Like check, for a list that may grow: every expected candidate is offered.
check_offers() {
  local expected=$1
  shift
  local got
  got=" $(complete_words "$@") "
  for word in $expected; do
    if [[ $got != *" $word "* ]]; then
      echo "FAIL: completing '$*' does not offer $word (got '$got')" >&2
      failures=$((failures + 1))
    fi
  done
}

cd "$bin" || exit 1
touch tiles.png 'two words.bmp' terrain.gif
mkdir sheets

# Table: expected candidates | the words typed so far (the last one being completed).
check "roof terrain1 terrain2" korvanth-convert --format ""
check "terrain1 terrain2" korvanth-convert --format ter
check_offers "bmp gif jpg png tif" korvanth-convert --all --type ""
check "" korvanth-convert --origin ""
check "" korvanth-convert --cell 1
check "" korvanth-convert --all --jobs ""
check_offers "--all --atlas --cell --format --help --jobs --names --origin --type --version" korvanth-convert --""
check "--cell" korvanth-convert --ce
check "-h" korvanth-convert -h
check "korvanth-convert sheets terrain.gif tiles.png two words.bmp" korvanth-convert ""
check "terrain.gif tiles.png two words.bmp" korvanth-convert --format roof t
check "sheets" korvanth-convert --all tiles.png she
check "terrain.gif tiles.png two words.bmp" korvanth-convert --all --atlas --names t

if ((failures)); then
  echo "$failures completion case(s) failed" >&2
  exit 1
fi
echo "completion cases passed"
