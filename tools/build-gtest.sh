#!/usr/bin/env bash
# Builds GoogleTest from Debian's sources (/usr/src/googletest) with a MinGW-w64 toolchain file
# and installs it below the given prefix. Does nothing when it is there already.
# Usage: tools/build-gtest.sh TOOLCHAIN_FILE PREFIX
set -euo pipefail
toolchain=$1
prefix=$2
if [ -f "$prefix/lib/cmake/GTest/GTestConfig.cmake" ]; then
    exit 0
fi
work="$prefix.build"
rm -rf "$work"
mkdir -p "$(dirname "$prefix")"
cmake -S /usr/src/googletest -B "$work" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DBUILD_GMOCK=OFF -DINSTALL_GTEST=ON -DCMAKE_INSTALL_PREFIX="$prefix" >"$work.log" 2>&1 \
    || { cat "$work.log"; exit 1; }
cmake --build "$work" -j"$(nproc)" >>"$work.log" 2>&1 || { cat "$work.log"; exit 1; }
cmake --install "$work" >>"$work.log" 2>&1 || { cat "$work.log"; exit 1; }
rm -rf "$work" "$work.log"
