#!/usr/bin/env bash
# Installs what the builds, the tests and the run need on Debian 12, as root. Safe to run
# again: when every package is there already it only checks and returns at once.
set -euo pipefail

# Both MinGW-w64 compilers: i686 for the programs as shipped, x86-64 for the build that the
# tests run. Only 64-bit Wine: the machines this project runs on execute no 32-bit Linux code,
# so Wine's 32-bit loader (package wine32:i386) cannot start there.
packages=(
    g++-mingw-w64-i686 g++-mingw-w64-x86-64 mingw-w64-tools
    wine wine64
    xvfb xauth xdotool x11-utils imagemagick
    cmake g++ make googletest libgtest-dev
    # The archive reader's tests: real archivers make their samples, lsar (unar) is the
    # independent lister they are compared with, clang builds the fuzz target.
    zip unzip arj jlha-utils arc gcab sharutils unar python3 clang libclang-rt-14-dev
)

if [ "$(id -u)" -ne 0 ]; then
    echo "bootstrap: run as root (it installs Debian packages)" >&2
    exit 1
fi

missing=()
for p in "${packages[@]}"; do
    if [ "$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null)" != "installed" ]; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "bootstrap: installing ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q
    apt-get install -y -q "${missing[@]}"
fi
