#!/usr/bin/env bash
# Installs what is missing, then builds and runs the whole suite twice: a normal build and an
# AddressSanitizer + UndefinedBehaviorSanitizer build, both under a private Xvfb with a private
# Weston beside it.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

jobs=$(nproc)
build() {
    local dir=$1
    shift
    cmake -S . -B "$dir" -DREADYCHECK_TESTS=ON -DREADYCHECK_WERROR=ON "$@" >/dev/null
    cmake --build "$dir" -j "$jobs"
}

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:strict_string_checks=1
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# GTK's accessibility bridge talks to a session bus that tests neither have nor need.
export NO_AT_BRIDGE=1 GTK_A11Y=none
# The program and the probes take a Wayland display before an X one: the tests' compositor is their
# own Weston. Empty rather than unset, or GTK would take $XDG_RUNTIME_DIR/wayland-0.
export WAYLAND_DISPLAY=

status=0
for variant in normal sanitize; do
    dir=build-test-$variant
    if [ "$variant" = sanitize ]; then
        # Unoptimised: it compiles in half the time, and the sanitizers see every access.
        build "$dir" -DCMAKE_BUILD_TYPE=Debug -DREADYCHECK_SANITIZE=ON -DREADYCHECK_FUZZ=ON \
            -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
    else
        # Prefix /usr: the Debian package test packages this build rather than making another.
        build "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr
    fi
    echo "== $variant build: tests"
    if ! scripts/with-xvfb.sh scripts/with-weston.sh ctest --test-dir "$dir" -j "$jobs" \
        --output-on-failure --timeout 300; then
        status=1
    fi
done
exit $status
