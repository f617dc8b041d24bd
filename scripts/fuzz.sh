#!/usr/bin/env bash
# fuzz.sh FUZZER SEED_DIR [SECONDS]: runs one libFuzzer target for a bounded
# time on a scratch copy of its seed corpus and says how many inputs it tried.
# Exits non-zero on a finding (a crash, a sanitizer report, a leak).
set -uo pipefail
fuzzer=$1
seeds=$2
seconds=${3:-${ZEL_FUZZ_SECONDS:-20}}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$seeds"/. "$work"/ 2>/dev/null || true
"$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -artifact_prefix="$work/" \
  -print_final_stats=1 "$work" >"$work/log" 2>&1
status=$?
runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log")
echo "$(basename "$fuzzer"): ${runs:-?} inputs in ${seconds} s, exit status $status"
if [ $status -ne 0 ]; then
  grep -E 'ERROR|SUMMARY|runtime error' "$work/log" | head -n 20
  # The input that found it outlives the scratch corpus, to be added to the seeds.
  findings=${ZEL_BUILD:-$(dirname "$0")/../build}/fuzz-findings/$(basename "$fuzzer")
  mkdir -p "$findings" && cp "$work"/crash-* "$work"/leak-* "$work"/timeout-* "$findings"/ 2>/dev/null &&
    echo "kept in $findings: $(ls "$findings" | tr '\n' ' ')"
fi
exit $status
