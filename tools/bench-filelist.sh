#!/usr/bin/env bash
# The file list benchmark: runs the benchmark program under Wine once, which starts the main
# window with a clean settings key, fills one category with 1,000,000 records in memory and
# prints the figures: selecting the category, sorting, the selection commands, the row data of
# one screen, a full repaint and the memory per record. Saves them to build/bench.
# Run after tools/test.sh (uses the build that the Wine suite runs: build/win32 where this
# machine runs 32-bit code, build/win64 elsewhere). Usage: tools/bench-filelist.sh [RECORDS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
root_dir=$root
. "$root/tools/wine-arch.sh"
build="$root/build/$wine_arch"
echo "figures of $wine_arch_reason"
records=${1:-1000000}
bench="$root/build/bench"

cmake --build "$build" -j"$(nproc)" --target filelist_bench >/dev/null
mkdir -p "$bench"

"$root/tools/wine-display.sh" start "$build" >/dev/null
trap '"$root/tools/wine-display.sh" stop "$build"' EXIT
wine_build=$build
. "$root/tools/wine-env.sh"
"$WINE" "$build/filelist_bench.exe" "$records" >"$bench/filelist-figures.txt" 2>&1 || true
cat "$bench/filelist-figures.txt"
