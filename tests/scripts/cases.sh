# shellcheck shell=bash
# What the scripts' tests share: a scratch folder of the case's own ($work, removed at the end,
# after the case's own on_exit), failures counted with what was expected and what came, and
# the run of one case, a function of the test file, by its name:
#   source "$(dirname "$0")/cases.sh"; ACase() { ...; }; run_case "$@"
set -uo pipefail
# shellcheck disable=SC2034 # for the test files that source this one
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
work=$(mktemp -d)
on_exit() { :; }
trap 'on_exit; rm -rf "$work"' EXIT
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }
expect_contains() { # WHAT TEXT PIECE
  grep -qF -- "$3" <<<"$2" || fail "$1: expected to contain '$3', got: $2"
}
expect_lines() { # WHAT TEXT COUNT
  local n
  n=$(grep -c . <<<"$2")
  [ "$n" = "$3" ] || fail "$1: expected $3 line(s), got $n: $2"
}

run_case() { # CASE
  local case=${1:?a case name}
  declare -F "$case" >/dev/null || { echo "no case $case"; exit 2; }
  "$case"
  if [ "$failures" -gt 0 ]; then
    echo "$case: $failures failure(s)"
    exit 1
  fi
  echo "$case: passed"
}
