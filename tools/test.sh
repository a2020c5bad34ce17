#!/usr/bin/env bash
# Builds everything and runs every test: the portable code natively, then one Windows build
# under Wine (the portable tests again, the tests that drive real windows, and end-to-end runs
# of the programs), all on a virtual display. Both Windows builds are made with their tests;
# the one that runs is the i686 build as shipped wherever this machine runs 32-bit code, the
# x86-64 build elsewhere (tools/wine-arch.sh). Installs what it needs first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build"
jobs=$(nproc)
root_dir=$root
# shellcheck source=wine-arch.sh
. "$root/tools/wine-arch.sh"

bash "$root/tools/bootstrap.sh"

echo "== host build and portable tests"
cmake -S "$root" -B "$build/host" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build/host" -j"$jobs"
status=0
rm -f "$build/host/junit.xml" "$build/win32/junit.xml" "$build/win64/junit.xml"
(cd "$build/host" && ctest --output-on-failure -j"$jobs" --output-junit "$build/host/junit.xml") || status=$?

# Both Windows builds with their tests: build/win32 (i686, the programs as shipped) and
# build/win64 (x86-64).
configure_windows() {
    local name=$1 cpu=$2
    "$root/tools/build-gtest.sh" "$root/cmake/mingw-$cpu.cmake" "$build/deps/gtest-$cpu"
    "$root/tools/build-libjpeg.sh" "$root/cmake/mingw-$cpu.cmake" "$build/deps/libjpeg-turbo-$cpu"
    cmake -S "$root" -B "$build/$name" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$cpu.cmake" \
        -DSORTARO_WITH_TESTS=ON -DGTest_DIR="$build/deps/gtest-$cpu/lib/cmake/GTest" \
        -DLIBJPEG_DIR="$build/deps/libjpeg-turbo-$cpu" >/dev/null
}
configure_windows win32 i686
configure_windows win64 x86_64
other=win64
[ "$wine_arch" = win64 ] && other=win32

echo "== Windows build $wine_arch with its tests (the one run under Wine)"
cmake --build "$build/$wine_arch" -j"$jobs"

# The other build is compiled, and the archive reader fuzzed for a minute, while the tests
# under Wine run: those mostly wait for windows, so the processors are free most of the time.
# The x86-64 build compiles the programs and the benchmarks; an i686 build beside a 64-bit Wine
# compiles its tests too, as the shipped build's calling conventions show only there.
other_targets=(Sortaro setup benchmarks)
[ "$other" = win32 ] && other_targets=(all benchmarks)
echo "== beside the tests under Wine: the $other build (${other_targets[*]}), and the archive reader's fuzz run"
nice -n 10 cmake --build "$build/$other" -j"$jobs" --target "${other_targets[@]}" >"$build/$other-build.log" 2>&1 &
other_build=$!
nice -n 10 bash "$root/tools/fuzz-archive.sh" 60 >"$build/fuzz-smoke.log" 2>&1 &
fuzz_run=$!

# The prefix is made with a display (Wine wants one when it sets a prefix up), before ctest
# lists the tests in it. One test at a time: they share the prefix's registry and display.
echo "== the Wine suite runs $wine_arch_reason"
"$root/tools/wine-display.sh" start "$build/$wine_arch" >/dev/null
(cd "$build/$wine_arch" && ctest --output-on-failure -j1 --output-junit "$build/$wine_arch/junit.xml") \
    || status=1

if wait "$other_build"; then
    echo "== $other build done: $build/$other"
else
    cat "$build/$other-build.log"
    echo "the $other build failed"
    status=1
fi
fuzz_status=0
wait "$fuzz_run" || fuzz_status=$?
cat "$build/fuzz-smoke.log"
case $fuzz_status in
0) echo "== archive reader fuzz run (60 s): nothing found" ;;
1) echo "the fuzz run found something: see build/fuzz/findings/"; status=1 ;;
*) echo "the fuzz target did not build"; status=1 ;;
esac

echo "== summary (the Wine suite ran $wine_arch_reason)"
python3 - host "$build/host/junit.xml" "Wine, $wine_arch build" "$build/$wine_arch/junit.xml" <<'PY' || status=1
import sys, xml.etree.ElementTree as ET
sums = [0, 0, 0]
for label, report in zip(sys.argv[1::2], sys.argv[2::2]):
    try:
        suite = ET.parse(report).getroot()
    except (OSError, ET.ParseError):
        print(f"{label}: no test report ({report})")
        sys.exit(1)
    total, failed, skipped = (int(suite.get(k, 0)) for k in ("tests", "failures", "skipped"))
    print(f"{label}: {total - failed - skipped} passed, {failed} failed, {skipped} skipped")
    for case in suite.iter("testcase"):
        if case.find("skipped") is not None:
            print(f"  skipped: {case.get('name')}")
    sums = [sums[0] + total - failed - skipped, sums[1] + failed, sums[2] + skipped]
print(f"{sums[0]} passed, {sums[1]} failed, {sums[2]} skipped")
PY
exit $status
