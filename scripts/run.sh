#!/usr/bin/env bash
# Installs what is missing, builds ReadyCheck, installs it under build/install and starts it on
# the current display.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DREADYCHECK_TESTS=OFF >/dev/null
cmake --build build -j "$(nproc)"
cmake --install build --prefix "$PWD/build/install" >/dev/null
exec build/install/bin/ReadyCheck "$@"
