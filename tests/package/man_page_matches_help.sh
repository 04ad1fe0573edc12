#!/usr/bin/env bash
# The manual page documents what the built program's --help lists, and nothing it dropped:
# every option on both sides, and every word of a choice list such as "--format a|b|c".
# Usage: tests/package/man_page_matches_help.sh PROGRAM MAN_PAGE
set -euo pipefail
program=$1
page=$2

help=$("$program" --help)
# The page's own text: troff's "\-" is a hyphen; font changes (\fB ... \fR) go.
text=$(sed -e 's/\\-/-/g' -e 's/\\f[BIRP]//g' -e 's/\\&//g' "$page")

options_in() {
  grep -oE -- '(^|[][ |,(])--?[a-zA-Z][a-zA-Z0-9-]*' | grep -oE -- '--?[a-zA-Z][a-zA-Z0-9-]*' |
    sort -u
}
help_options=$(options_in <<<"$help")
page_options=$(options_in <<<"$text")

status=0
if [ -z "$help_options" ]; then
  echo "FAIL: $program --help lists no options" >&2
  exit 1
fi
missing=$(comm -23 <(printf '%s\n' "$help_options") <(printf '%s\n' "$page_options"))
if [ -n "$missing" ]; then
  echo "FAIL: $page lacks options that --help lists:" $missing >&2
  status=1
fi
extra=$(comm -13 <(printf '%s\n' "$help_options") <(printf '%s\n' "$page_options"))
if [ -n "$extra" ]; then
  echo "FAIL: $page describes options --help does not list:" $extra >&2
  status=1
fi

# "--name a|b|c" in the help: each of a, b, c is described on the page.
while read -r choice_list; do
  [ -n "$choice_list" ] || continue
  option=${choice_list%% *}
  for word in $(tr '|' ' ' <<<"${choice_list#* }"); do
    grep -qw -- "$word" <<<"$text" || {
      echo "FAIL: $page does not mention $word, a choice of $option" >&2
      status=1
    }
  done
done < <(grep -oE -- '--[a-z][a-z0-9-]* [a-z0-9]+(\|[a-z0-9]+)+' <<<"$help" | sort -u)

[ "$status" -eq 0 ] && echo "$page matches $program --help ($(wc -w <<<"$help_options") options)"
exit "$status"
