#!/usr/bin/env bash
# Builds the Debian packages libprobekit1, libprobekit-dev and readycheck (debian/) into OUTDIR
# and prints their paths, one a line. The packages are made from a copy of the source tree, so
# neither the tree nor its parent directory gets build files; the build log goes to standard
# error.
#
# Usage: build-deb.sh [--build-dir DIR] OUTDIR [CMAKE_OPTION...]
#   CMAKE_OPTION      for the fresh build, e.g. -DREADYCHECK_MAKER_URL=https://www.example.com
#   --build-dir DIR   package DIR, a build made already with -DCMAKE_INSTALL_PREFIX=/usr, as it
#                     is, instead of building afresh (the test suite shares its build so)
set -euo pipefail
usage() {
    echo "usage: $0 [--build-dir DIR] OUTDIR [CMAKE_OPTION...]" >&2
    exit 64
}

build_dir=
if [ "${1:-}" = --build-dir ]; then
    [ $# -ge 2 ] || usage
    build_dir=$(cd "$2" && pwd)
    shift 2
fi
[ $# -ge 1 ] || usage
outdir=$1
shift
if [ -n "$build_dir" ] && [ $# -gt 0 ]; then
    echo "build-deb: CMake options apply to a fresh build only" >&2
    exit 64
fi
if [ -n "$build_dir" ] &&
    ! grep -qx 'CMAKE_INSTALL_PREFIX:PATH=/usr' "$build_dir/CMakeCache.txt"; then
    echo "build-deb: $build_dir is not configured with -DCMAKE_INSTALL_PREFIX=/usr" >&2
    exit 1
fi
for tool in dpkg-buildpackage dh; do
    command -v "$tool" >/dev/null ||
        { echo "build-deb: missing tool: $tool (scripts/install-deps.sh)" >&2; exit 1; }
done

repo=$(cd "$(dirname "$0")/.." && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
src=$tmp/readycheck
mkdir "$src"
# The tracked and not ignored files only: no build directories.
if git -C "$repo" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git -C "$repo" ls-files -z --cached --others --exclude-standard |
        tar -C "$repo" --null --ignore-failed-read -T - -cf - | tar -C "$src" -xf -
else
    tar -C "$repo" --exclude-vcs --exclude='./build*' -cf - . | tar -C "$src" -xf -
fi

export READYCHECK_BUILD_DIR=$build_dir READYCHECK_CMAKE_OPTIONS="$*"
(cd "$src" && dpkg-buildpackage --build=binary --no-sign --no-pre-clean -J"$(nproc)") >&2

mkdir -p "$outdir"
for deb in "$tmp"/*.deb; do
    mv "$deb" "$outdir/"
    realpath "$outdir/${deb##*/}"
done
