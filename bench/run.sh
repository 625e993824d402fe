#!/usr/bin/env bash
# Builds the benchmarks in release mode and runs them under a private Xvfb on llvmpipe, and with
# no display at all on the EGL device.
set -euo pipefail
cd "$(dirname "$0")/.."
# The program and the probes take a Wayland display before an X one; these measure the private
# Xvfb's. Empty rather than unset, or GTK would take $XDG_RUNTIME_DIR/wayland-0.
export WAYLAND_DISPLAY=
scripts/install-deps.sh
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DREADYCHECK_TESTS=OFF \
    -DREADYCHECK_BENCH=ON >/dev/null
cmake --build build-bench -j "$(nproc)"
scripts/with-xvfb.sh build-bench/bench/probe_benchmark --benchmark_repetitions=5 \
    --benchmark_report_aggregates_only=true "$@"
env -u DISPLAY -u WAYLAND_DISPLAY build-bench/bench/egl_device_benchmark \
    --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
    --benchmark_enable_random_interleaving=true
build-bench/bench/runner_benchmark 512M 5
NO_AT_BRIDGE=1 scripts/with-xvfb.sh build-bench/bench/startup_benchmark \
    build-bench/stage/bin/ReadyCheck build-bench/bench/startup_baseline 21
scripts/with-xvfb.sh bench/report-benchmark.sh build-bench/stage/bin/ReadyCheck \
    build-bench/bench/probe_once build-bench/stage/libexec/readycheck/system_profiler 21
scripts/with-xvfb.sh build-bench/bench/causes_benchmark --benchmark_repetitions=5 \
    --benchmark_report_aggregates_only=true
scripts/with-xvfb.sh bench/causes-benchmark.sh build-bench/stage/bin/ReadyCheck \
    build-bench/bench-stage/bin/ReadyCheck 41
