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

echo "== Windows build (x86-64) and tests under Wine"
"$root/tools/build-gtest.sh" "$root/cmake/mingw-x86_64.cmake" "$build/deps/gtest-x86_64"
cmake -S "$root" -B "$build/win64" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" \
    -DSORTARO_WITH_TESTS=ON -DGTest_DIR="$build/deps/gtest-x86_64/lib/cmake/GTest" >/dev/null
cmake --build "$build/win64" -j"$jobs"

# The programs as shipped are built, and the archive reader is fuzzed for a minute, while the
# tests under Wine run: those mostly wait for windows, so the processors are free most of the
# time.
echo "== beside the tests under Wine: the i686 build (the programs as shipped) and a fuzz run"
cmake -S "$root" -B "$build/win32" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
nice -n 10 cmake --build "$build/win32" -j"$jobs" >"$build/win32-build.log" 2>&1 &
win32_build=$!
nice -n 10 bash "$root/tools/fuzz-archive.sh" 60 >"$build/fuzz-smoke.log" 2>&1 &
fuzz_run=$!

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
if wait "$fuzz_run"; then
    echo "== archive reader fuzz smoke run (60 s):"
    cat "$build/fuzz-smoke.log"
else
    cat "$build/fuzz-smoke.log"
    echo "the fuzz smoke run found something"
    status=1
fi
exit $status
