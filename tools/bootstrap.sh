#!/usr/bin/env bash
# Installs what the builds, the tests and the run need on Debian 12, and fetches libjpeg-turbo's
# Debian source package into build/deps/src. Safe to run again: it first checks what is missing
# and does nothing when nothing is, so a user who is not root needs no rights once everything is
# there. What is missing is installed as root, through sudo for another user where sudo exists;
# otherwise it names what is missing and stops.
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
    # libjpeg-turbo is built from Debian's source package (apt-get source needs dpkg-dev),
    # with its SIMD code (nasm).
    dpkg-dev nasm
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

# libjpeg-turbo's source package, unpacked below build/deps/src once per machine; fetching it
# needs source indexes, which a stock installation does not download (no deb-src entries).
jpeg_src="$root_dir/build/deps/src"
need_jpeg_source=no
compgen -G "$jpeg_src/libjpeg-turbo-*/CMakeLists.txt" >/dev/null || need_jpeg_source=yes
add_deb_src=no
if [ $need_jpeg_source = yes ] && ! apt-cache showsrc libjpeg-turbo >/dev/null 2>&1; then
    add_deb_src=yes
fi

if [ ${#missing[@]} -gt 0 ] || [ $add_i386 = yes ] || [ $add_deb_src = yes ]; then
    if [ "$(id -u)" -eq 0 ]; then
        as_root=()
    elif command -v sudo >/dev/null 2>&1; then
        as_root=(sudo)
    else
        echo "bootstrap: this needs root (no sudo here): run it once as root, then as any user" >&2
        [ ${#missing[@]} -gt 0 ] && echo "bootstrap: missing Debian packages: ${missing[*]}" >&2
        [ $add_i386 = yes ] && echo "bootstrap: and the i386 architecture (dpkg --add-architecture i386)" >&2
        [ $add_deb_src = yes ] && echo "bootstrap: and deb-src entries for Debian's source packages" >&2
        exit 1
    fi
fi

# The deb-src twin of each Debian source entry (deb822 stanzas of debian.sources, or the
# one-line "deb" entries of sources.list), as stanzas of Types: deb-src.
deb_src_entries() {
    local list=/etc/apt/sources.list.d/debian.sources
    if [ -f "$list" ]; then
        awk 'BEGIN { RS = ""; ORS = "\n\n" }
             {
                 out = ""; binary = 0; enabled = 1
                 n = split($0, lines, "\n")
                 for (i = 1; i <= n; i++) {
                     line = lines[i]
                     if (line ~ /^#/) continue
                     if (line ~ /^Types:/) { binary = (line ~ /[ \t]deb([ \t]|$)/); continue }
                     if (line ~ /^Enabled:[ \t]*no/) enabled = 0
                     out = out line "\n"
                 }
                 if (binary && enabled) printf "Types: deb-src\n%s\n", out
             }' "$list" | sed '/^$/N;/^\n$/D'
    elif [ -f /etc/apt/sources.list ]; then
        # deb [signed-by=KEYRING ...] URI SUITE COMPONENT...
        awk '$1 == "deb" {
                 signed = ""; i = 2
                 if ($2 ~ /^\[/) {
                     for (; i <= NF; i++) {
                         opt = $i; gsub(/[][]/, "", opt)
                         if (opt ~ /^signed-by=/) signed = substr(opt, 11)
                         if ($i ~ /\]$/) { i++; break }
                     }
                 }
                 printf "Types: deb-src\nURIs: %s\nSuites: %s\nComponents:", $i, $(i + 1)
                 for (j = i + 2; j <= NF; j++) printf " %s", $j
                 printf "\n"
                 if (signed != "") printf "Signed-By: %s\n", signed
                 printf "\n"
             }' /etc/apt/sources.list
    fi
}

if [ $add_deb_src = yes ]; then
    entries=$(deb_src_entries)
    if [ -z "$entries" ]; then
        echo "bootstrap: no Debian entries in /etc/apt/sources.list.d/debian.sources or /etc/apt/sources.list" >&2
        echo "bootstrap: to derive deb-src entries from; add one for libjpeg-turbo's source package" >&2
        exit 1
    fi
    echo "bootstrap: adding deb-src entries (/etc/apt/sources.list.d/debian-src.sources) for libjpeg-turbo's sources"
    printf '%s\n' "$entries" | "${as_root[@]}" tee /etc/apt/sources.list.d/debian-src.sources >/dev/null
fi

export DEBIAN_FRONTEND=noninteractive
if [ ${#missing[@]} -gt 0 ] || [ $add_i386 = yes ]; then
    if [ $add_i386 = yes ]; then
        echo "bootstrap: adding the i386 architecture for 32-bit Wine"
        "${as_root[@]}" dpkg --add-architecture i386
    fi
    echo "bootstrap: installing ${missing[*]}"
    "${as_root[@]}" apt-get update -q
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}"
elif [ $add_deb_src = yes ]; then
    "${as_root[@]}" apt-get update -qq
fi

if [ $need_jpeg_source = yes ]; then
    mkdir -p "$jpeg_src"
    # Unpacks it with Debian's patches applied. As root, apt warns that the download is not
    # sandboxed (its _apt user cannot write here); that is expected.
    (cd "$jpeg_src" && apt-get source -qq libjpeg-turbo >"$jpeg_src/apt-get-source.log" 2>&1) \
        || { cat "$jpeg_src/apt-get-source.log"; exit 1; }
    rm -f "$jpeg_src/apt-get-source.log"
fi
