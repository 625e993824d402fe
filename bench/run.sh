#!/usr/bin/env bash
# Builds the benchmarks in release mode and runs them under a private Xvfb on llvmpipe.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DREADYCHECK_TESTS=OFF \
    -DREADYCHECK_BENCH=ON >/dev/null
cmake --build build-bench -j "$(nproc)"
scripts/with-xvfb.sh build-bench/bench/probe_benchmark --benchmark_repetitions=5 \
    --benchmark_report_aggregates_only=true "$@"
build-bench/bench/runner_benchmark 512M 5
NO_AT_BRIDGE=1 scripts/with-xvfb.sh build-bench/bench/startup_benchmark \
    build-bench/stage/bin/ReadyCheck build-bench/bench/startup_baseline 21
scripts/with-xvfb.sh bench/report-benchmark.sh build-bench/stage/bin/ReadyCheck \
    build-bench/bench/probe_once build-bench/stage/libexec/readycheck/system_profiler 21
