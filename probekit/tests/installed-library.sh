#!/usr/bin/env bash
# Installs the build into a scratch prefix, checks that the library exports its eleven functions
# and nothing else, and builds a C program against the installed library twice, through
# pkg-config and through the CMake package, then runs both on the real driver.
# Usage: installed-library.sh BUILD_DIR VERSION
set -euo pipefail
build=$1 version=$2
here=$(cd "$(dirname "$0")" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

cmake --install "$build" --prefix "$tmp/prefix" >/dev/null
library=$(find "$tmp/prefix" -name libProbeKit.so.1)
[ -n "$library" ] || { echo "no libProbeKit.so.1 installed" >&2; exit 1; }
# The eleven VX functions are the whole interface: no backend or shared helper shows.
exports=$(nm -D --defined-only "$library" |
    awk '$2 != "A" { sub(/@.*/, "", $3); print $3 }' | sort | tr '\n' ' ')
[ "$exports" = "VXGetDriverOpenGLFeatures VXGetDriverOpenGLIdentity VXGetPreferGenericDriver \
VXSetPreferGenericDriver VXStringArrayAppend VXStringArrayCount VXStringArrayCreate \
VXStringArrayDispose VXStringArrayFind VXStringArrayGet VXStringArraySort " ] ||
    { echo "exports: $exports" >&2; exit 1; }
"$here/build-consumer.sh" "$tmp/prefix" "$version" "$tmp"
