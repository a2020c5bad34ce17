#!/usr/bin/env bash
# Installs what the builds and tests need on Debian 12, as root. Safe to run again: when every
# package is already there it only checks and returns within a second or two.
set -euo pipefail

packages=(
    g++-mingw-w64-i686 mingw-w64-tools
    wine wine32:i386 wine64
    xvfb xauth xdotool x11-utils imagemagick
    cmake g++ make googletest libgtest-dev
)

if [ "$(id -u)" -ne 0 ]; then
    echo "bootstrap: run as root (it installs Debian packages)" >&2
    exit 1
fi

missing=()
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
    missing=("${packages[@]}")
else
    for p in "${packages[@]}"; do
        # dpkg-query knows "name:arch"; a package that is not installed prints nothing or "not-installed".
        if [ "$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null)" != "installed" ]; then
            missing+=("$p")
        fi
    done
fi

if [ ${#missing[@]} -gt 0 ]; then
    echo "bootstrap: installing ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q
    apt-get install -y -q "${missing[@]}"
fi
