#!/usr/bin/env bash
# Builds libjpeg-turbo, static and with its SIMD code (nasm), from Debian's source package that
# the bootstrap unpacks below build/deps/src, with a MinGW-w64 toolchain file, and installs it
# below the given prefix (include/, lib/libjpeg.a, and the tools such as cjpeg.exe in bin/).
# Does nothing when it is there already.
# Usage: tools/build-libjpeg.sh TOOLCHAIN_FILE PREFIX
set -euo pipefail
toolchain=$1
prefix=$2
if [ -f "$prefix/lib/libjpeg.a" ] && [ -f "$prefix/include/jpeglib.h" ]; then
    exit 0
fi
root=$(cd "$(dirname "$0")/.." && pwd)
source_dir=$(compgen -G "$root/build/deps/src/libjpeg-turbo-*/CMakeLists.txt" | sort -V | tail -n 1 || true)
if [ -z "$source_dir" ]; then
    echo "build-libjpeg: no libjpeg-turbo sources below build/deps/src (tools/bootstrap.sh fetches them)" >&2
    exit 1
fi
source_dir=$(dirname "$source_dir")
work="$prefix.build"
rm -rf "$work"
mkdir -p "$(dirname "$prefix")"
# The toolchain file's CMAKE_SYSTEM_PROCESSOR (x86, AMD64) picks the SIMD code; REQUIRE_SIMD
# makes a missing nasm an error rather than a silently slower library. The install prefix must
# be given: its Windows default is no path CMake can use here.
cmake -S "$source_dir" -B "$work" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DWITH_SIMD=ON -DREQUIRE_SIMD=ON \
    -DCMAKE_INSTALL_PREFIX="$prefix" >"$work.log" 2>&1 || { cat "$work.log"; exit 1; }
cmake --build "$work" -j"$(nproc)" >>"$work.log" 2>&1 || { cat "$work.log"; exit 1; }
cmake --install "$work" >>"$work.log" 2>&1 || { cat "$work.log"; exit 1; }
rm -rf "$work" "$work.log"
