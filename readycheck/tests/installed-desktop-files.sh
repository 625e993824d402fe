#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks what a desktop and a software centre read
# there: the desktop entry and the AppStream metadata pass their validators, and every icon
# size is installed under the name that both give.
# Usage: installed-desktop-files.sh BUILD_DIR
set -euo pipefail
build=$1
id=org.readycheck.ReadyCheck
for tool in desktop-file-validate appstreamcli file; do
    command -v "$tool" >/dev/null || { echo "missing tool: $tool" >&2; exit 1; }
done
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
prefix=$tmp/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
share=$prefix/share

desktop=$share/applications/$id.desktop
metainfo=$share/metainfo/$id.metainfo.xml
desktop-file-validate "$desktop"
appstreamcli validate --no-net --explain "$metainfo"

grep -qx "Icon=$id" "$desktop"
grep -q "<id>$id</id>" "$metainfo"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo"
exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
[ -x "$prefix/bin/$exec_name" ]

icons=$share/icons/hicolor
grep -q '<svg' "$icons/scalable/apps/$id.svg"
for size in 48 128 256; do
    file "$icons/${size}x${size}/apps/$id.png" | grep "PNG image data, $size x $size," >/dev/null
done
