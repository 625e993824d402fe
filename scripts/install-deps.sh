#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing need. Idempotent: when
# everything is present it only checks.
set -euo pipefail

packages=(
    build-essential cmake pkg-config clang libclang-rt-14-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    libgl-dev libglx-dev libegl-dev libx11-dev libwayland-dev libgl1-mesa-dri mesa-utils
    libgtk-3-dev libglib2.0-dev libjson-glib-dev libplist-dev libpci-dev pci.ids libdrm-dev
    libxcb-dri3-dev fonts-dejavu-core
    xvfb xauth weston imagemagick desktop-file-utils appstream procps file
    dpkg-dev debhelper lintian git groff-base man-db
    libxtst-dev dbus at-spi2-core python3-pyatspi python3-dbusmock python3-jsonschema
    ansible-core ansible-lint openssh-server openssh-client
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
    echo "install-deps: missing packages: ${missing[*]}; run as root to install them" >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
