#!/usr/bin/env bash
# Builds everything and runs every test: the portable code natively, then the Windows build
# under Wine (the portable tests again, the tests that drive real windows, and an end-to-end
# run of Sortaro.exe), all on a virtual display. Installs what it needs first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build"
jobs=$(nproc)

bash "$root/tools/bootstrap.sh"

echo "== host build and portable tests"
cmake -S "$root" -B "$build/host" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build/host" -j"$jobs"
(cd "$build/host" && ctest --output-on-failure -j"$jobs")

echo "== archive reader fuzz smoke run"
bash "$root/tools/fuzz-archive.sh" 10

echo "== Windows build (x86-64) and tests under Wine"
"$root/tools/build-gtest.sh" "$root/cmake/mingw-x86_64.cmake" "$build/deps/gtest-x86_64"
cmake -S "$root" -B "$build/win64" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" \
    -DSORTARO_WITH_TESTS=ON -DGTest_DIR="$build/deps/gtest-x86_64/lib/cmake/GTest" >/dev/null
cmake --build "$build/win64" -j"$jobs"

# The programs as shipped are built while the tests under Wine run: those mostly wait for
# windows, so the compiler has the processors to itself most of the time.
echo "== Windows build (i686), the programs as shipped, beside the tests under Wine"
cmake -S "$root" -B "$build/win32" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
nice -n 10 cmake --build "$build/win32" -j"$jobs" >"$build/win32-build.log" 2>&1 &
win32_build=$!

# The prefix is made with a display (Wine wants one when it sets a prefix up), before ctest
# lists the tests in it. One test at a time: they share the prefix's registry and display.
"$root/tools/wine-display.sh" start "$build/win64" >/dev/null
status=0
(cd "$build/win64" && ctest --output-on-failure -j1) || status=$?

if wait "$win32_build"; then
    echo "== i686 build done: $build/win32"
else
    cat "$build/win32-build.log"
    echo "the i686 build failed"
    status=1
fi
exit $status
