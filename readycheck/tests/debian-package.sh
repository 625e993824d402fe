#!/usr/bin/env bash
# Makes the Debian package from the build, checks where it puts things and what it depends on,
# unpacks it and runs the unpacked program end to end on $DISPLAY, in German.
# Usage: debian-package.sh BUILD_DIR END_TO_END_TEST
set -euo pipefail
build=$1 end_to_end=$2
for tool in cpack dpkg-deb dpkg-shlibdeps readelf; do
    command -v "$tool" >/dev/null || { echo "missing tool: $tool" >&2; exit 1; }
done
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$tmp/out" >/dev/null
deb=$(echo "$tmp"/out/readycheck_*.deb)
dpkg-deb -c "$deb" | awk '{print $6}' >"$tmp/files"
cat "$tmp/files"
for path in ./usr/bin/ReadyCheck ./usr/libexec/readycheck/system_profiler \
    ./usr/libexec/readycheck/probe_card \
    ./usr/include/ProbeKit/ProbeKit.h ./usr/share/applications/org.readycheck.ReadyCheck.desktop \
    ./usr/share/metainfo/org.readycheck.ReadyCheck.metainfo.xml; do
    grep -qx "$path" "$tmp/files" || { echo "not in the package: $path" >&2; exit 1; }
done
outside=$(grep -v -e '^\./usr/' -e '^\./$' "$tmp/files" || true)
[ -z "$outside" ] || { echo "outside /usr: $outside" >&2; exit 1; }
grep -Eq '^\./usr/lib/([^/]+/)?libProbeKit\.so\.1$' "$tmp/files"

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for library in libgtk-3-0 libplist3 libpci3 libx11-6; do
    [[ $depends == *"$library"* ]] || { echo "no dependency on $library" >&2; exit 1; }
done

root=$tmp/root
dpkg-deb -x "$deb" "$root"
program=$root/usr/bin/ReadyCheck
LD_LIBRARY_PATH='' ldd "$program" | grep "=> $root/usr/.*libProbeKit\.so\.1 " >/dev/null
# In German, leaving its screenshot in debian-package/ beside the other tests' screenshots.
mkdir -p debian-package
(cd debian-package && LANGUAGE=de READYCHECK_PROGRAM=$program "$end_to_end" --gtest_brief=1)
