#!/usr/bin/env bash
# The launch benchmark: the start in database mode on the catalogue of a large tree. Makes a
# tree of FILES empty or sparse files in about FOLDERS folders under build/bench (once; kept for
# the next run), catalogues it once with the program's own scan, and then runs the benchmark
# program under Wine RUNS times, each a start of the real main window in database mode, and
# prints: launch to the main window with the category of all files selected and painted
# (target 1.5 s), launch to the end of the check in the background and its time per 1,000
# files, and the memory per record. Then the same start with the facts files set aside, which
# makes the load look at every file as before the facts were used ("today's figure"), and the
# file list benchmark (sort and selection) unless NO_FILELIST=1 is set.
# Run after tools/test.sh (uses the build that the Wine suite runs: build/win32 where this
# machine runs 32-bit code, build/win64 elsewhere).
# Usage: tools/bench-launch.sh [FILES] [FOLDERS] [RUNS]
# BENCH_DIR=folder takes the tree and its catalogue from there (another checkout's build/bench,
# say) instead of making them again under this one's build/bench.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
root_dir=$root
. "$root/tools/wine-arch.sh"
build="$root/build/$wine_arch"
echo "figures of $wine_arch_reason"
files=${1:-1000000}
folders=${2:-5000}
runs=${3:-3}
bench="${BENCH_DIR:-$root/build/bench}"
tree="$bench/launch-tree-$files"
install="$bench/launch-install-$files"

cmake --build "$build" -j2 --target launch_bench >/dev/null
mkdir -p "$bench"
if [ ! -f "$tree.made" ]; then
    rm -rf "$tree" "$install"
    python3 - "$tree" "$files" "$folders" <<'PY'
import os, random, sys
top, files, folders = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
random.seed(11)
# Every name has an extension of three characters: the benchmark's category of all files
# matches them all; pictures and music also go into their own categories.
mix = [".txt"] * 20 + [".jpg"] * 12 + [".mp3"] * 6 + [".doc", ".pdf", ".htm", ".dll", ".exe", ".ini", ".log"] * 8
per_group = 50
dirs = []
for i in range(folders):
    d = os.path.join(top, "Gruppe%03d" % (i // per_group), "Ordner%04d" % i)
    os.makedirs(d)
    dirs.append(d)
flags = os.O_CREAT | os.O_WRONLY
for i in range(files):
    path = os.path.join(dirs[i % folders], "datei_%07d%s" % (i, random.choice(mix)))
    fd = os.open(path, flags, 0o644)
    # Most files empty; some sparse, from a few bytes to a few megabytes.
    if i % 20 == 0:
        os.ftruncate(fd, int(random.expovariate(1 / 200000)) + 1)
    os.close(fd)
PY
    touch "$tree.made"
    echo "made $files files in $folders folders under $tree"
fi

"$root/tools/wine-display.sh" start "$build" >/dev/null
restore_facts() {
    for away in "$install"/Data/*.facts.away; do
        [ -e "$away" ] && mv "$away" "${away%.away}"
    done
    return 0
}
trap 'restore_facts; "$root/tools/wine-display.sh" stop "$build"' EXIT
wine_build=$build
. "$root/tools/wine-env.sh"
if [ ! -f "$install.made" ]; then
    rm -rf "$install"
    mkdir -p "$install/Data"
    "$WINE" "$build/launch_bench.exe" catalogue "$("$WINE" winepath -w "$tree" 2>/dev/null)" \
        "$("$WINE" winepath -w "$install/Data" 2>/dev/null)"
    touch "$install.made"
fi
winstall=$("$WINE" winepath -w "$install" 2>/dev/null)
launch() { "$WINE" "$build/launch_bench.exe" launch "$winstall" "$(date +%s%3N)" 2>/dev/null; }

for i in $(seq "$runs"); do
    echo "run $i:"
    launch | sed 's/^/  /'
done
echo "today's figure, the load looking at every file (facts files set aside):"
for facts in "$install"/Data/*.facts; do mv "$facts" "$facts.away"; done
launch | sed 's/^/  /'
restore_facts
if [ "${NO_FILELIST:-0}" != 1 ]; then
    "$root/tools/wine-display.sh" stop "$build" >/dev/null
    "$root/tools/bench-filelist.sh"
fi
