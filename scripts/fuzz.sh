#!/usr/bin/env bash
# Runs every fuzz target of the fuzz build side by side, one per core, each over a copy of its
# corpus in tests/fuzz/corpus/<target>/ for FUZZ_SECONDS (60) seconds. One line per target,
# with the end of its log when it failed; exits non-zero when any target failed.
#   --merge   afterwards adds to the repository's corpora the inputs that reach new coverage
#   -R REGEX  only the targets whose names match (as ctest's -R; the test command passes its
#             arguments on, and ignores here those that are ctest's alone)
#   FUZZ_DIR  where the targets are (build/fuzz/fuzz); FUZZ_JOBS how many run at once (nproc)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
merge=0 pattern=
while [ $# -gt 0 ]; do
  case $1 in
    --merge) merge=1 ;;
    -R | --tests-regex) pattern=${2:-}; [ $# -gt 1 ] && shift ;;
    -R?*) pattern=${1#-R} ;;
  esac
  shift
done
dir=${FUZZ_DIR:-$root/build/fuzz/fuzz}
seconds=${FUZZ_SECONDS:-60}
jobs=${FUZZ_JOBS:-$(nproc)}

targets=()
for f in "$dir"/*_fuzzer; do
  [ -x "$f" ] || continue
  [[ -z "$pattern" || $(basename "$f") =~ $pattern ]] && targets+=("$f")
done
if [ ${#targets[@]} -eq 0 ] && [ -n "$pattern" ]; then
  echo "fuzz: no target matches -R $pattern"
  exit 0
fi
if [ ${#targets[@]} -eq 0 ]; then
  echo "fuzz: no targets in $dir (build them with: cmake --build build/fuzz --target fuzzers)"
  exit 1
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

run_one() {
  local fuzzer=$1 name corpus copy log runs
  name=$(basename "$fuzzer" _fuzzer)
  corpus="$root/tests/fuzz/corpus/$name"
  copy="$work/$name"
  log="$work/$name.log"
  mkdir -p "$copy"
  [ -d "$corpus" ] && cp -r "$corpus"/. "$copy"/
  # A hang is a fault too: every input takes milliseconds, so one that takes 10 s fails the
  # target; and the run ends well after its time even if libFuzzer itself does not.
  if timeout $((seconds + 120)) "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
       -artifact_prefix="$work/$name-" -print_final_stats=1 "$copy" >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "fuzz $name: ok (${runs:-?} inputs)"
  else
    # One write, so that the lines of targets ending at the same time stay apart.
    printf '%s\n' "fuzz $name: FAILED" "$(tail -40 "$log" | sed 's/^/    /')"
    return 1
  fi
  if [ "$merge" = 1 ]; then
    mkdir -p "$corpus"
    "$fuzzer" -merge=1 -rss_limit_mb=2048 "$corpus" "$copy" >"$log.merge" 2>&1 ||
      { echo "fuzz $name: merge FAILED"; tail -20 "$log.merge"; return 1; }
  fi
}
export -f run_one
export root work seconds merge

status=0
printf '%s\n' "${targets[@]}" | xargs -P "$jobs" -I{} bash -c 'run_one "$1"' _ {} || status=1
exit $status
