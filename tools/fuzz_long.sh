#!/usr/bin/env bash
# The long fuzzing campaign: every libFuzzer target (or the ones named), one after the other,
# each for a number of executions or a time budget, one job each (the machine is shared).
#
#   tools/fuzz_long.sh --runs 10000000            # ten million executions per target
#   tools/fuzz_long.sh --time 3600 session_fuzz  # one hour of one target
#
# Each target keeps its own corpus, log and findings under out/fuzz/<target>/ (the seeds of
# tests/fuzz/corpus/<target>/ are read, never written), so a second campaign goes on from
# where the first stopped. A finding (crash, leak, timeout, out-of-memory) ends that target's
# run and is kept as out/fuzz/<target>/findings/<kind>-<hash>; rerun it with
# build/fuzz/tests/fuzz/<target> FILE. The summary gives executions, rate and findings per
# target; the exit status is 1 when any target found something.
set -euo pipefail
cd "$(dirname "$0")/.."

usage() {
  echo "usage: tools/fuzz_long.sh (--runs N | --time SECONDS) [--no-build] [target ...]" >&2
  exit 2
}

runs=""
seconds=""
build=1
targets=()
while [ $# -gt 0 ]; do
  case "$1" in
    --runs) runs="${2:?}"; shift 2 ;;
    --time) seconds="${2:?}"; shift 2 ;;
    --no-build) build=0; shift ;;
    -h|--help) usage ;;
    -*) usage ;;
    *) targets+=("$1"); shift ;;
  esac
done
[ -n "$runs" ] || [ -n "$seconds" ] || usage

if [ "$build" = 1 ]; then
  cmake --preset fuzz >/dev/null
  cmake --build --preset fuzz -j2 >/dev/null
fi
bin=build/fuzz/tests/fuzz
if [ ${#targets[@]} -eq 0 ]; then
  for f in "$bin"/*_fuzz; do [ -x "$f" ] && targets+=("$(basename "$f")"); done
fi

limit=()
[ -n "$runs" ] && limit+=("-runs=$runs")
[ -n "$seconds" ] && limit+=("-max_total_time=$seconds")

# Allocation stacks are not kept: unwinding at every allocation costs a quarter of the speed,
# and a finding is rerun from its file with the full report anyway.
export ASAN_OPTIONS="${ASAN_OPTIONS:-malloc_context_size=0}"

summary=()
found=0
for target in "${targets[@]}"; do
  out="out/fuzz/$target"
  mkdir -p "$out/corpus" "$out/findings"
  before=$(ls "$out/findings" | wc -l)
  start=$(date +%s)
  status=0
  "$bin/$target" "$out/corpus" "tests/fuzz/corpus/$target" "${limit[@]}" \
    -artifact_prefix="$out/findings/" -print_final_stats=1 -timeout=30 -rss_limit_mb=2048 \
    >"$out/log" 2>&1 || status=$?
  elapsed=$(( $(date +%s) - start ))
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$out/log" | tail -n 1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$out/log" | tail -n 1)
  if [ -z "$executions" ]; then
    # A finding ends the run before the final statistics: take the last progress line.
    executions=$(grep -oE '^#[0-9]+' "$out/log" | tail -n 1 | tr -d '#')
    rate=$(( ${executions:-0} / (elapsed > 0 ? elapsed : 1) ))
  fi
  findings=$(( $(ls "$out/findings" | wc -l) - before ))
  [ "$status" -ne 0 ] && [ "$findings" -eq 0 ] && findings="exit $status"
  [ "$findings" != 0 ] && found=1
  line=$(printf '%-18s %12s executions %8s exec/s %7ss  findings: %s' "$target" \
    "${executions:-?}" "${rate:-?}" "$elapsed" "$findings")
  echo "$line"
  summary+=("$line")
  if [ "$findings" != 0 ]; then
    grep -E 'ERROR|SUMMARY|runtime error|Test unit written' "$out/log" | head -n 5 | sed 's/^/    /'
  fi
done

echo
echo "campaign $(date -u +%Y-%m-%dT%H:%MZ) ${runs:+runs=$runs} ${seconds:+time=${seconds}s}"
printf '%s\n' "${summary[@]}"
exit "$found"
