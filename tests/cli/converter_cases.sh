#!/usr/bin/env bash
# Runs korvanth-convert over the case table: each row in a fresh folder, its setup, the
# converter with its arguments, then its exit code, its standard error line by line and the
# row's checks on what it left. A run that fails must leave its folder as it found it
# unless the row's checks say what it wrote.
# With a Windows converter (run under Wine) every row runs on both hosts: the Windows run
# must end and speak as the Linux one, leave the same names with the same pixels, and pass
# the row's checks; a row's sha256 is held against the Linux file.
# Usage: tests/cli/converter_cases.sh TABLE CONVERTER [WINDOWS_CONVERTER]
# Table: tab-separated; host (all, linux, windows), setup, arguments (shell words), exit
# code, standard error (one glob a line after "korvanth-convert: ", lines joined by \n),
# checks; "-" for none.
set -uo pipefail
table=$(realpath "$1")
linux=$(realpath "$2")
windows=${3:+$(realpath "$3")}
samples=$(cd "$(dirname "$0")/../../samples" && pwd)
work=$(mktemp -d)
trap 'chmod -R u+rwx "$work"; rm -rf "$work"' EXIT
export WINEDEBUG=-all LC_ALL=C.UTF-8

number=0
rows=0
failed=0
fail() {
  echo "$table:$number: $*" >&2
  row_failed=1
}

# Setup helpers, run in the row's folder. An opaque picture of graded colour, NAME WxH.
picture() {
  convert -size "$2" gradient:'#ff2000-#0040ff' -depth 8 "PNG32:$1"
}
# Makes the region WxH+X+Y of picture NAME fully transparent.
clear_region() {
  convert "$1" \( -size "${2%%+*}" xc:none \) -geometry "+${2#*+}" -compose copy -composite \
    "PNG32:$1"
}
long() { printf "$1%.0s" $(seq "$2"); }  # CHAR N: a name of N CHARs
root_only() {  # the rest of the row needs the superuser (device nodes)
  if [ "$(id -u)" != 0 ]; then
    : >"$work/skip"
    exit 0
  fi
}
sample() { cp "$samples/sample-tiles.png" "${1:-sample.png}"; }
socket() { python3 -c 'import socket, sys; socket.socket(socket.AF_UNIX).bind(sys.argv[1])' "$1"; }

# Check helpers, run in the folder the converter ran in.
listing() { find . -mindepth 1 -printf '%P\n' | LC_ALL=C sort; }
# shellcheck disable=SC2120 # a failed run's default: nothing added
new() {  # NAMES...: exactly these entries were added
  local expected actual
  expected=$(if (($#)); then printf '%s\n' "$@" | LC_ALL=C sort; fi)
  actual=$(LC_ALL=C comm -13 "$work/before" <(listing))
  [ "$actual" = "$expected" ] || fail "added: ${actual//$'\n'/ }; expected: ${expected//$'\n'/ }"
  named_new=1
}
has() {  # FILE TEXT [COUNT]: FILE holds TEXT (COUNT times)
  local found
  found=$(grep -oF -- "$2" "$1" 2>/dev/null | wc -l)
  if [ -n "${3:-}" ]; then
    [ "$found" -eq "$3" ] || fail "$1 holds '$2' $found times, not $3"
  else
    [ "$found" -gt 0 ] || fail "$1 does not hold '$2'"
  fi
}
starts() {  # FILE TEXT: FILE begins with TEXT
  [ "$(head -c "${#2}" "$1" 2>/dev/null)" = "$2" ] || fail "$1 does not begin with '$2'"
}
pic() {  # FILE TYPE WxH: a picture of that type and size
  local seen
  seen=$(identify -format '%m %wx%h\n' "$1" 2>/dev/null | head -n1)
  [ "$seen" = "$2 $3" ] || fail "$1 is '$seen', not '$2 $3'"
}
same() {  # FILE OTHER: the same pixels
  [ "$(compare -metric AE "$1" "$2" null: 2>&1)" = 0 ] || fail "$1 and $2 differ in pixels"
}
sum() {  # FILE SHA256: the file's bytes (under Wine: the Linux file's, and the same pixels)
  local file=$1
  [ "$folder" != "$reference" ] && file=$reference/$1
  local seen
  seen=$(sha256sum <"$file" | cut -c1-16)
  [ "${seen:0:${#2}}" = "$2" ] || fail "$file: sha256 $seen..., not $2..."
  if [ "$folder" != "$reference" ]; then same "$1" "$reference/$1"; fi
}
alike() {  # FILE: under Wine, the same bytes as the Linux file
  if [ "$folder" != "$reference" ]; then cmp -s "$1" "$reference/$1" || fail "$1: other bytes"; fi
}
smaller() {  # FILE BYTES: FILE is smaller
  [ "$(stat -c %s "$1")" -lt "$2" ] || fail "$1 is not smaller than $2 bytes"
}
stdout() {  # GLOB: what the converter printed
  # shellcheck disable=SC2053 # a glob
  [[ $(cat "$work/out") == $1 ]] || fail "standard output is not $1"
}

# Runs one converter over the row in FOLDER: fills $status and $work/err, $work/out.
run_row() {
  local folder=$1
  shift
  rm -rf "$folder"
  mkdir -p "$folder"
  (cd "$folder" && eval "$setup") || fail "setup failed"
  (cd "$folder" && listing) >"$work/before"
  (cd "$folder" && find . -type f -exec sha256sum {} + | LC_ALL=C sort) >"$work/before-bytes"
  if [ "$arguments" = - ]; then set --; else eval "set -- $arguments"; fi
  (cd "$folder" && timeout 60 "${converter[@]}" "$@" >"$work/out" 2>"$work/err-raw" </dev/null)
  status=$?
  tr -d '\r' <"$work/err-raw" >"$work/err"
}

while IFS=$'\t' read -r -u 3 host setup arguments exit_code said checks; do
  number=$((number + 1))
  case $host in '#'* | '') continue ;; esac
  [ "$setup" = - ] && setup=:
  [ -n "$windows" ] && [ "$host" = linux ] && continue
  [ -z "$windows" ] && [ "$host" = windows ] && continue
  row_failed=0
  rm -f "$work/skip"
  reference=$work/linux
  converter=("$linux")
  [ "$host" = windows ] && converter=(wine "$windows")
  run_row "$reference"
  [ -e "$work/skip" ] && continue
  rows=$((rows + 1))
  if [ "$host" = all ] && [ -n "$windows" ]; then
    cp "$work/err" "$work/err-linux"
    linux_status=$status
    linux_listing=$(cd "$reference" && listing)
    converter=(wine "$windows")
    run_row "$work/windows"
    [ "$status" = "$linux_status" ] || fail "exit $status on Windows, $linux_status on Linux"
    diff "$work/err-linux" "$work/err" >&2 || fail "the hosts' messages differ"
    [ "$(cd "$work/windows" && listing)" = "$linux_listing" ] || fail "the hosts leave other names"
    while read -r name; do
      case $name in
        *.png | *.bmp | *.gif | *.tif) same "$work/windows/$name" "$reference/$name" ;;
      esac
    done < <(LC_ALL=C comm -13 "$work/before" <(echo "$linux_listing"))
  fi
  [ "$status" = "$exit_code" ] || fail "exit $status, expected $exit_code"
  # Every line is the program's own, without control characters; a usage error may point
  # to --help after its line.
  mapfile -t lines <"$work/err"
  if [ "$status" = 2 ] && [ "${lines[-1]:-}" = "Try 'korvanth-convert --help'." ]; then
    unset 'lines[-1]'
  fi
  if [ "$said" = - ]; then
    [ "${#lines[@]}" = 0 ] || fail "said: ${lines[*]}"
  else
    globs=()
    rest=$said
    while [[ $rest == *'\n'* ]]; do
      globs+=("${rest%%\\n*}")
      rest=${rest#*\\n}
    done
    globs+=("$rest")
    [ "${#lines[@]}" = "${#globs[@]}" ] || fail "${#lines[@]} lines said, not ${#globs[@]}"
    for i in "${!globs[@]}"; do
      # shellcheck disable=SC2053 # a glob
      [[ ${lines[i]:-} == "korvanth-convert: "${globs[i]} ]] ||
        fail "said '${lines[i]:-}', not 'korvanth-convert: ${globs[i]}'"
    done
  fi
  if tr -d '\n' <"$work/err" | LC_ALL=C grep -q '[[:cntrl:]]'; then
    fail "a control character in what was said"
  fi
  named_new=0
  folder=$reference
  [ "$host" = all ] && [ -n "$windows" ] && folder=$work/windows
  cd "$folder" || exit 1
  [ "$checks" = - ] || eval "$checks"
  if [ "$status" != 0 ] && [ "$named_new" = 0 ]; then
    # shellcheck disable=SC2119 # nothing added
    new
    [ "$(find . -type f -exec sha256sum {} + | LC_ALL=C sort)" = "$(cat "$work/before-bytes")" ] ||
      fail "a file was changed"
  fi
  cd "$work" || exit 1
  if [ "$row_failed" = 1 ]; then failed=$((failed + 1)); fi
done 3<"$table"
echo "converter cases: $rows rows, $failed failed" >&2
[ "$rows" -gt 0 ] && [ "$failed" = 0 ]
