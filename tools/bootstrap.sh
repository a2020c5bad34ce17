#!/usr/bin/env bash
# Installs what the builds, the tests and the run need on Debian 12. Safe to run again: it
# first checks what is missing and returns at once when nothing is, so a user who is not root
# needs no rights once everything is there. What is missing is installed as root, through
# sudo for another user where sudo exists; otherwise it names the packages and stops.
set -euo pipefail
root_dir=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=wine-arch.sh
. "$root_dir/tools/wine-arch.sh"

# Both MinGW-w64 compilers: i686 for the programs as shipped, x86-64 for machines that cannot
# run them. 64-bit Wine always; 32-bit Wine (the i386 architecture's wine32) where the kernel
# runs 32-bit code, since its loader cannot start elsewhere.
packages=(
    g++-mingw-w64-i686 g++-mingw-w64-x86-64 mingw-w64-tools
    wine wine64
    xvfb xauth xdotool x11-utils imagemagick
    cmake g++ make googletest libgtest-dev
    # The archive reader's tests: real archivers make their samples, lsar (unar) is the
    # independent lister they are compared with, clang builds the fuzz target.
    zip unzip arj jlha-utils arc gcab unar python3 clang libclang-rt-14-dev
)
add_i386=no
if [ "$wine_arch" = win32 ]; then
    packages+=(wine32:i386)
    dpkg --print-foreign-architectures | grep -qx i386 || add_i386=yes
fi

missing=()
for p in "${packages[@]}"; do
    if [ "$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null)" != "installed" ]; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && [ $add_i386 = no ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
    as_root=()
elif command -v sudo >/dev/null 2>&1; then
    as_root=(sudo)
else
    echo "bootstrap: these Debian packages are missing: ${missing[*]}" >&2
    echo "bootstrap: install them as root (no sudo here), then run this again:" >&2
    [ $add_i386 = yes ] && echo "    dpkg --add-architecture i386" >&2
    echo "    apt-get update && apt-get install ${missing[*]}" >&2
    exit 1
fi

export DEBIAN_FRONTEND=noninteractive
if [ $add_i386 = yes ]; then
    echo "bootstrap: adding the i386 architecture for 32-bit Wine"
    "${as_root[@]}" dpkg --add-architecture i386
fi
echo "bootstrap: installing ${missing[*]}"
"${as_root[@]}" apt-get update -q
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}"
