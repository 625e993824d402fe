#!/usr/bin/env bash
# The whole command-line check with and without the machine's evidence: ReadyCheck --report
# against the same program built to read none, alternating runs. On a result that is not ready
# the first reads the evidence and decides the causes; prints the median of each and the
# difference.
# The median of the differences within each pair of runs says more than the difference of the
# medians on a busy machine.
# Usage: causes-benchmark.sh READYCHECK WITHOUT_EVIDENCE RUNS
set -euo pipefail
program=$1 without=$2 runs=$3

# shellcheck source=bench/timing.sh
source "$(dirname "$0")/timing.sh"

"$program" --report | grep -q '^Cause: ' ||
    echo "causes-benchmark: no cause named here: the evidence is read all the same" >&2
with=() bare=() more=()
for ((i = 0; i < runs; i++)); do
    with+=("$(elapsed "$program" --report)")
    bare+=("$(elapsed "$without" --report)")
    more+=($((with[i] - bare[i])))
done
w=$(printf '%s\n' "${with[@]}" | median)
b=$(printf '%s\n' "${bare[@]}" | median)
d=$(printf '%s\n' "${more[@]}" | median)
awk -v w="$w" -v b="$b" -v d="$d" 'BEGIN {
    printf "report with the evidence: median %.1f ms; without: median %.1f ms; " \
        "median difference within a pair %+.1f ms\n", w / 1000, b / 1000, d / 1000 }'
