#!/usr/bin/env bash
# ReadyCheck --report against the least work it must do: one cold probe pair in a fresh process
# while the display profiler runs beside it, as --report runs them. Alternating runs; prints the
# median of each and their ratio.
# Usage: report-benchmark.sh READYCHECK PROBE_ONCE PROFILER RUNS
set -euo pipefail
program=$1 probe=$2 profiler=$3 runs=$4

# shellcheck source=bench/timing.sh
source "$(dirname "$0")/timing.sh"
floor() {
    "$profiler" -detailLevel mini -xml >/dev/null &
    "$probe"
    wait
}

report=() raw=()
for ((i = 0; i < runs; i++)); do
    report+=("$(elapsed "$program" --report)")
    raw+=("$(elapsed floor)")
done
r=$(printf '%s\n' "${report[@]}" | median)
f=$(printf '%s\n' "${raw[@]}" | median)
awk -v r="$r" -v f="$f" 'BEGIN {
    printf "report: median %.1f ms; probes and profiler: median %.1f ms; ratio %.2f\n",
        r / 1000, f / 1000, r / f }'
