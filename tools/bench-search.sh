#!/usr/bin/env bash
# The search benchmark: runs the benchmark program under Wine once, which starts the main window
# with a clean settings key, puts 1,000,000 files in 5,000 folders into the catalogue in memory
# (no files on disk) and prints, each beside its target: building the search index and its
# memory per file, substring queries (rare, common, a name part, a folder, across folder and
# name), a case-sensitive and two wildcard queries, a lengthened text, and in the search dialog
# the time from a key press to the hits on screen. Saves them to build/bench.
# Run after tools/test.sh (uses the build that the Wine suite runs: build/win32 where this
# machine runs 32-bit code, build/win64 elsewhere). Usage: tools/bench-search.sh [RECORDS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
root_dir=$root
. "$root/tools/wine-arch.sh"
build="$root/build/$wine_arch"
echo "figures of $wine_arch_reason"
records=${1:-1000000}
bench="$root/build/bench"

cmake --build "$build" -j"$(nproc)" --target search_bench >/dev/null
mkdir -p "$bench"

"$root/tools/wine-display.sh" start "$build" >/dev/null
trap '"$root/tools/wine-display.sh" stop "$build"' EXIT
wine_build=$build
. "$root/tools/wine-env.sh"
"$WINE" "$build/search_bench.exe" "$records" >"$bench/search-figures.txt" 2>&1 || true
cat "$bench/search-figures.txt"
