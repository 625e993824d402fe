#!/usr/bin/env bash
# Installs the build into a scratch prefix and builds a C program against the installed library
# twice, through pkg-config and through the CMake package, then runs both on the real driver.
# Usage: installed-library.sh BUILD_DIR VERSION
set -euo pipefail
build=$1 version=$2
here=$(cd "$(dirname "$0")" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
prefix=$tmp/prefix

cmake --install "$build" --prefix "$prefix" >/dev/null
pc=$(find "$prefix" -name probekit.pc)
[ -n "$pc" ] || { echo "no probekit.pc installed" >&2; exit 1; }
export PKG_CONFIG_PATH=${pc%/*}
[ "$(pkg-config --modversion probekit)" = "$version" ]

libdir=$(pkg-config --variable=libdir probekit)
# The eleven VX functions are the whole interface: no backend or shared helper shows.
exports=$(nm -D --defined-only "$libdir/libProbeKit.so.1" |
    awk '$2 != "A" { sub(/@.*/, "", $3); print $3 }' | sort | tr '\n' ' ')
[ "$exports" = "VXGetDriverOpenGLFeatures VXGetDriverOpenGLIdentity VXGetPreferGenericDriver \
VXSetPreferGenericDriver VXStringArrayAppend VXStringArrayCount VXStringArrayCreate \
VXStringArrayDispose VXStringArrayFind VXStringArrayGet VXStringArraySort " ] ||
    { echo "exports: $exports" >&2; exit 1; }
cc -std=c99 -Wall -Wextra -Werror -pedantic -o "$tmp/via-pkg-config" "$here/consumer/consumer.c" \
    $(pkg-config --cflags --libs probekit) -Wl,-rpath,"$libdir"
readelf -d "$tmp/via-pkg-config" | grep 'NEEDED.*\[libProbeKit\.so\.1\]' >/dev/null

cmake -S "$here/consumer" -B "$tmp/consumer" -DCMAKE_PREFIX_PATH="$prefix" \
    -DPROBEKIT_VERSION="$version" >/dev/null
cmake --build "$tmp/consumer" >/dev/null

"$tmp/via-pkg-config" >"$tmp/pkg-config.out"
"$tmp/consumer/consumer" >"$tmp/cmake.out"
cat "$tmp/pkg-config.out"
[ "$(grep -c . "$tmp/pkg-config.out")" -eq 4 ]
# Every feature on the suite's llvmpipe, in a program that links nothing but the library.
grep -q '^features 0x3f$' "$tmp/pkg-config.out"
diff "$tmp/pkg-config.out" "$tmp/cmake.out"
