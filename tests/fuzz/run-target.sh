#!/usr/bin/env bash
# Runs one fuzz target for a number of seconds on a fresh working copy of its seeds and prints one
# summary line: "NAME: N executions, R exec/s, F findings". Exits non-zero on a finding (crash, leak,
# time-out, out-of-memory) or when the target could not run. Used by the CTest tests (label fuzz) and
# by scripts/fuzz.
#
#   run-target.sh NAME BINARY SEEDS WORKDIR SECONDS DICT MAX_LEN
set -uo pipefail
if [ $# -ne 7 ]; then
    echo "usage: run-target.sh NAME BINARY SEEDS WORKDIR SECONDS DICT MAX_LEN" >&2
    exit 64
fi
name=$1 binary=$2 seeds=$3 work=$4 seconds=$5 dict=$6 max_len=$7

rm -rf "$work"
mkdir -p "$work/corpus" "$work/findings"
if [ -d "$seeds" ]; then
    find "$seeds" -maxdepth 1 -type f ! -name '.*' -exec cp {} "$work/corpus/" \;
fi

# Leaks are findings too; ASan and UBSan stop at the first error so that libFuzzer saves the input.
export ASAN_OPTIONS=${ASAN_OPTIONS:-abort_on_error=1:detect_leaks=1:allocator_may_return_null=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
log="$work/fuzz.log"
"$binary" "$work/corpus" -max_total_time="$seconds" -dict="$dict" -max_len="$max_len" \
    -timeout=120 -rss_limit_mb=2560 -artifact_prefix="$work/findings/" -print_final_stats=1 \
    -print_pcs=0 >"$log" 2>&1
status=$?

runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
if [ -z "$runs" ]; then
    # Stopped by a finding before the final statistics: the last status line counts.
    runs=$(grep -oE '^#[0-9]+' "$log" | tail -1 | tr -d '#')
    rate=$(grep -oE 'exec/s: [0-9]+' "$log" | tail -1 | grep -oE '[0-9]+')
fi
# A slow unit is only the slowest input so far. A time-out counts when the input hangs again on its
# own: on a shared machine a stall of the whole machine can outlast the time-out as well.
for t in "$work"/findings/timeout-*; do
    [ -e "$t" ] || continue
    if timeout 120 "$binary" -runs=1 "$t" >"$t.rerun.log" 2>&1; then
        echo "$name: $(basename "$t") ran through when run again: a stall of the machine, not a finding"
        mv "$t" "$work/stall-$(basename "$t")"
        rm -f "$t.rerun.log"
        status=0
    fi
done
findings=$(find "$work/findings" -type f ! -name 'slow-unit-*' ! -name '*.rerun.log' | wc -l)
echo "$name: ${runs:-0} executions, ${rate:-0} exec/s, $findings findings"
if [ "$findings" -gt 0 ] || [ $status -ne 0 ]; then
    grep -E 'FUZZ FINDING|ERROR: |runtime error|SUMMARY|==ERROR|Test unit written|deadly signal' "$log" | head -20
    echo "$name: libFuzzer exited with status $status; log $log, inputs in $work/findings" >&2
    [ "$findings" -gt 0 ] || findings=1
    exit 1
fi
exit 0
