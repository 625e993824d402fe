#!/usr/bin/env bash
# Runs a command beside a private Weston compositor (headless, GL renderer), which ends with the
# command. Its socket lives in a private runtime directory; WESTON_DISPLAY holds the socket's path,
# so that only what means to use Wayland does (WAYLAND_DISPLAY=$WESTON_DISPLAY ...). With
# --wayland the command gets it as WAYLAND_DISPLAY as well.
set -euo pipefail

wayland=false
if [ "${1:-}" = --wayland ]; then
    wayland=true
    shift
fi

runtime=$(mktemp -d)
chmod 700 "$runtime"
socket=weston-test
XDG_RUNTIME_DIR=$runtime weston --backend=headless-backend.so --use-gl --no-config \
    --socket="$socket" >/dev/null 2>&1 &
weston_pid=$!
cleanup() {
    kill "$weston_pid" 2>/dev/null || true
    wait "$weston_pid" 2>/dev/null || true
    rm -rf "$runtime"
}
trap cleanup EXIT
for _ in $(seq 200); do
    [ -S "$runtime/$socket" ] && break
    kill -0 "$weston_pid" 2>/dev/null || break
    sleep 0.1
done
[ -S "$runtime/$socket" ] || { echo "with-weston: Weston did not start" >&2; exit 1; }
export WESTON_DISPLAY=$runtime/$socket
if $wayland; then
    export WAYLAND_DISPLAY=$WESTON_DISPLAY
fi
"$@"
