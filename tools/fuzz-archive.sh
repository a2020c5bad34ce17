#!/usr/bin/env bash
# Builds the archive reader's libFuzzer target with clang (ASan and UBSan) and runs it, seeded
# with the sample archives; then the catalogue's facts file reader for a tenth of the time.
# Findings land in build/fuzz/findings/; each one becomes a named regression test (archives in
# tests/native/ArcRegressionTest.cpp).
# Usage: tools/fuzz-archive.sh [SECONDS]    (default 60, as long as the test command runs it)
# Exit status: 0 nothing found, 1 a finding, 2 the fuzz target did not build.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/fuzz"
seconds=${1:-60}

# A fuzz target that does not build is a build failure (exit 2), not a finding (exit 1).
mkdir -p "$build"
if ! { CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSORTARO_FUZZ=ON &&
    cmake --build "$build" --target arc_reader_fuzz facts_file_fuzz -j2; } >"$build/build.log" 2>&1; then
    tail -40 "$build/build.log"
    echo "fuzz-archive: the fuzz target did not build (whole log: $build/build.log)" >&2
    exit 2
fi

# Seeds: the tool-made samples (made here if the host tests have not made them yet), the past
# findings and the third-party archives beside the repository, those under 256 KB.
seeds="$build/seeds"
rm -rf "$seeds"
mkdir -p "$seeds" "$build/corpus" "$build/findings"
bash "$root/tests/archive/make-samples.sh" "$build/samples" 2>/dev/null ||
    echo "fuzz-archive: some tool-made samples could not be made; fuzzing with the others" >&2
find "$build/samples" "$root/tests/fuzz/regressions" "$root/../shared/fixtures/archives" -type f -size -256k \
    ! -name '*.md' ! -name '*.log' -exec cp {} "$seeds/" \; 2>/dev/null || true

"$build/arc_reader_fuzz" -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$build/findings/" "$build/corpus" "$seeds" 2>"$build/fuzz.log" || {
    tail -40 "$build/fuzz.log"
    echo "fuzz-archive: a finding, see $build/findings/" >&2
    exit 1
}
grep -E '^stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)|^Done' "$build/fuzz.log" || true

mkdir -p "$build/facts-corpus"
"$build/facts_file_fuzz" -max_total_time=$((seconds / 10 + 1)) -max_len=4096 -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$build/findings/facts-" "$build/facts-corpus" 2>"$build/facts-fuzz.log" || {
    tail -40 "$build/facts-fuzz.log"
    echo "fuzz-archive: a finding in the facts file reader, see $build/findings/" >&2
    exit 1
}
grep -E '^stat::number_of_executed_units' "$build/facts-fuzz.log" | sed 's/^/facts file: /' || true
