#!/usr/bin/env bash
# Builds a C program against the ProbeKit installed under PREFIX twice, through pkg-config and
# through the CMake package, into WORKDIR, then runs both on the real driver. WORKDIR keeps
# via-pkg-config, the first of them.
# Usage: build-consumer.sh PREFIX VERSION WORKDIR
set -euo pipefail
prefix=$1 version=$2 work=$3
here=$(cd "$(dirname "$0")" && pwd)

pc=$(find "$prefix" -name probekit.pc)
[ -n "$pc" ] || { echo "no probekit.pc under $prefix" >&2; exit 1; }
export PKG_CONFIG_PATH=${pc%/*}
[ "$(pkg-config --modversion probekit)" = "$version" ]

libdir=$(pkg-config --variable=libdir probekit)
cc -std=c99 -Wall -Wextra -Werror -pedantic -o "$work/via-pkg-config" "$here/consumer/consumer.c" \
    $(pkg-config --cflags --libs probekit) -Wl,-rpath,"$libdir"
readelf -d "$work/via-pkg-config" | grep 'NEEDED.*\[libProbeKit\.so\.1\]' >/dev/null

cmake -S "$here/consumer" -B "$work/consumer" -DCMAKE_PREFIX_PATH="$prefix" \
    -DPROBEKIT_VERSION="$version" >/dev/null
cmake --build "$work/consumer" >/dev/null

"$work/via-pkg-config" >"$work/pkg-config.out"
"$work/consumer/consumer" >"$work/cmake.out"
cat "$work/pkg-config.out"
[ "$(grep -c . "$work/pkg-config.out")" -eq 4 ]
# Every feature on the suite's llvmpipe, in a program that links nothing but the library.
grep -q '^features 0x3f$' "$work/pkg-config.out"
diff "$work/pkg-config.out" "$work/cmake.out"
