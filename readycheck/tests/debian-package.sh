#!/usr/bin/env bash
# Makes the three Debian packages from the build with scripts/build-deb.sh and checks them as a
# packager would: each one's files and dependencies, lintian, a C program built against the
# unpacked library and development packages, and the unpacked program run end to end on
# $DISPLAY, in German.
# Usage: debian-package.sh BUILD_DIR VERSION END_TO_END_TEST
set -euo pipefail
build=$1 version=$2 end_to_end=$3
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)
for tool in dpkg-deb dpkg-shlibdeps dpkg-architecture lintian readelf; do
    command -v "$tool" >/dev/null || { echo "missing tool: $tool" >&2; exit 1; }
done
if ! grep -qx 'CMAKE_INSTALL_PREFIX:PATH=/usr' "$build/CMakeCache.txt"; then
    echo "skipped: the packages are made from a build with -DCMAKE_INSTALL_PREFIX=/usr"
    exit 77
fi
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
ma=$(dpkg-architecture -qDEB_HOST_MULTIARCH)

if ! "$repo/scripts/build-deb.sh" --build-dir "$build" "$tmp/out" >"$tmp/paths" 2>"$tmp/log"; then
    cat "$tmp/log" >&2
    exit 1
fi
deb() { grep "/${1}_${version}_[^/]*\.deb$" "$tmp/paths"; }
[ "$(wc -l <"$tmp/paths")" -eq 3 ]

# Files only, the CMake package's per-configuration file under one name.
files() {
    dpkg-deb -c "$(deb "$1")" | awk '$6 !~ /\/$/ {print $6}' |
        sed 's/ProbeKitTargets-[a-z]*\.cmake$/ProbeKitTargets-CONFIG.cmake/' | sort
}
doc() { printf './usr/share/doc/%s/%s\n' "$1" changelog.gz "$1" copyright; }
expect_files() {
    local package=$1
    shift
    if ! diff <(printf '%s\n' "$@" | sort) <(files "$package"); then
        echo "$package: unexpected files (<: missing, >: extra)" >&2
        exit 1
    fi
}
lib=./usr/lib/$ma
expect_files libprobekit1 "$lib/libProbeKit.so.1" "$lib/libProbeKit.so.$version" \
    $(doc libprobekit1)
expect_files libprobekit-dev ./usr/include/ProbeKit/ProbeKit.h "$lib/libProbeKit.so" \
    "$lib/pkgconfig/probekit.pc" "$lib/cmake/ProbeKit/ProbeKitConfig.cmake" \
    "$lib/cmake/ProbeKit/ProbeKitConfigVersion.cmake" "$lib/cmake/ProbeKit/ProbeKitTargets.cmake" \
    "$lib/cmake/ProbeKit/ProbeKitTargets-CONFIG.cmake" $(doc libprobekit-dev)
id=org.readycheck.ReadyCheck
icons=./usr/share/icons/hicolor
expect_files readycheck ./usr/bin/ReadyCheck ./usr/libexec/readycheck/system_profiler \
    ./usr/libexec/readycheck/probe_card ./usr/share/readycheck/readycheck.schema.json \
    ./usr/share/readycheck/ansible/readycheck-fleet.yml \
    ./usr/share/readycheck/ansible/readycheck.fact \
    ./usr/share/applications/$id.desktop ./usr/share/metainfo/$id.metainfo.xml \
    $icons/48x48/apps/$id.png $icons/128x128/apps/$id.png $icons/256x256/apps/$id.png \
    $icons/scalable/apps/$id.svg ./usr/share/man/man1/ReadyCheck.1.gz $(doc readycheck)

field() { dpkg-deb -f "$(deb "$1")" "$2"; }
for package in libprobekit1 libprobekit-dev readycheck; do
    [ "$(field $package Version)" = "$version" ]
    echo "$package Depends: $(field $package Depends)"
done
# A whole item of the comma-separated list on standard input, with its version relation.
has_item() { tr ',' '\n' | sed 's/^ *//; s/ *$//' | grep -x "$1" >/dev/null; }
depends_on() {
    field "$1" Depends | has_item "$2" || { echo "$1 does not depend on $2" >&2; exit 1; }
}
for dependency in 'libgl1' 'libx11-6 (>= .*)'; do depends_on libprobekit1 "$dependency"; done
if field libprobekit1 Depends | grep -q gtk; then
    echo "the library depends on GTK" >&2
    exit 1
fi
[ "$(field libprobekit-dev Depends)" = "libprobekit1 (= $version)" ]
# The fleet playbook needs Ansible on the controller, the local fact Python on each host.
[ "$(field readycheck Suggests)" = "ansible-core, python3" ]
for dependency in "libprobekit1 (>= $version)" 'libgtk-3-0 (>= .*)' 'libplist3 (>= .*)' \
    'libpci3 (>= .*)' 'libx11-6 (>= .*)'; do
    depends_on readycheck "$dependency"
done
# The library is registered by a trigger, not by maintainer scripts; nothing else has any.
for package in libprobekit1 libprobekit-dev readycheck; do
    dpkg-deb -e "$(deb $package)" "$tmp/control-$package"
    scripts=$(cd "$tmp/control-$package" && ls -d preinst postinst prerm postrm 2>/dev/null || true)
    [ -z "$scripts" ] || { echo "$package has maintainer scripts: $scripts" >&2; exit 1; }
done
grep -qx 'activate-noawait ldconfig' "$tmp/control-libprobekit1/triggers"

# One copyright statement: the AppStream metadata names the licence the copyright file states.
dpkg-deb -x "$(deb readycheck)" "$tmp/readycheck"
license=$(sed -n 's/^License: //p' "$tmp/readycheck/usr/share/doc/readycheck/copyright")
grep -q "<project_license>$license</project_license>" \
    "$tmp/readycheck/usr/share/metainfo/$id.metainfo.xml"
[ -x "$tmp/readycheck/usr/share/readycheck/ansible/readycheck.fact" ]

# No error and no warning: lintian's notice about running as root is not a tag.
lintian "$(deb libprobekit1)" "$(deb libprobekit-dev)" "$(deb readycheck)" 2>&1 |
    tee "$tmp/lintian"
if grep -q '^[EW]: ' "$tmp/lintian"; then
    echo "lintian reports errors or warnings" >&2
    exit 1
fi

# A developer's machine: the library and development packages, not the program.
dev=$tmp/dev
for package in libprobekit1 libprobekit-dev; do dpkg-deb -x "$(deb $package)" "$dev"; done
# Absolute paths, as every library's: pkg-config leaves out the system's own directories.
pc=$dev/usr/lib/$ma/pkgconfig/probekit.pc
grep -qx 'prefix=/usr' "$pc"
flags=$(PKG_CONFIG_PATH=${pc%/*} pkg-config --cflags --libs probekit)
[ "$(xargs <<<"$flags")" = -lProbeKit ] || { echo "probekit.pc gives: $flags" >&2; exit 1; }
mkdir "$tmp/consumer"
# Unpacked, not installed: the package's /usr is under $dev.
PKG_CONFIG_SYSROOT_DIR=$dev "$repo/probekit/tests/build-consumer.sh" "$dev/usr" "$version" \
    "$tmp/consumer"
# What the library's package tells a program built against it to depend on.
mkdir -p "$tmp/source/debian"
: >"$tmp/source/debian/control"
dpkg-deb -R "$(deb libprobekit1)" "$tmp/source/debian/libprobekit1"
consumer_depends=$(cd "$tmp/source" && dpkg-shlibdeps -O "$tmp/consumer/via-pkg-config")
if ! echo "${consumer_depends#shlibs:Depends=}" | has_item "libprobekit1 (>= $version)"; then
    echo "a program built against ProbeKit gets $consumer_depends" >&2
    exit 1
fi

# A user's machine: the program and the library, no development files.
app=$tmp/app
for package in libprobekit1 readycheck; do dpkg-deb -x "$(deb $package)" "$app"; done
program=$app/usr/bin/ReadyCheck
LD_LIBRARY_PATH="" ldd "$program" | grep "=> $app/usr/.*/libProbeKit\.so\.1 " >/dev/null
# In German, leaving its screenshot in debian-package/ beside the other tests' screenshots.
mkdir -p debian-package
(cd debian-package && LANGUAGE=de READYCHECK_PROGRAM=$program "$end_to_end" --gtest_brief=1 \
    --gtest_filter='-WaysOut.*')
