#!/usr/bin/env bash
# Installs the build into a scratch prefix and builds a C program against the installed library
# twice, through pkg-config and through the CMake package, then runs both on the real driver.
# Usage: installed-library.sh BUILD_DIR VERSION
set -euo pipefail
build=$1 version=$2
here=$(cd "$(dirname "$0")" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

cmake --install "$build" --prefix "$tmp/prefix" >/dev/null
"$here/build-consumer.sh" "$tmp/prefix" "$version" "$tmp"
