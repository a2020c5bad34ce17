#!/usr/bin/env bash
# The catalogue benchmark: makes a tree of 100,000 files in about 2,000 folders with a mix of
# extensions under build/bench, then runs the benchmark program under Wine once and prints its
# figures: the scan against a plain FindFirstFileW walk, memory per record, and writing and
# loading the database against a plain GetFileAttributesExW over the same paths.
# Run after tools/test.sh (uses the build that the Wine suite runs: build/win32 where this
# machine runs 32-bit code, build/win64 elsewhere). Usage: tools/bench-catalogue.sh [FILES] [FOLDERS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
root_dir=$root
. "$root/tools/wine-arch.sh"
build="$root/build/$wine_arch"
echo "figures of $wine_arch_reason"
files=${1:-100000}
folders=${2:-2000}
bench="$root/build/bench"

cmake --build "$build" -j"$(nproc)" --target catalogue_bench >/dev/null
rm -rf "$bench"
mkdir -p "$bench"
python3 - "$bench/tree" "$files" "$folders" <<'PY'
import os, random, sys
top, files, folders = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
random.seed(7)
# A mix as on a working machine: documents, pictures, music, program files, logs, some junk.
mix = [(".txt", 10), (".jpg", 12), (".gif", 5), (".bmp", 2), (".doc", 5), (".pdf", 4), (".htm", 6),
       (".html", 2), (".css", 2), (".js", 4), (".mp3", 6), (".wav", 2), (".mid", 1), (".avi", 1),
       (".dll", 8), (".exe", 4), (".ini", 3), (".log", 3), (".tmp", 2), (".bak", 1), (".zip", 2),
       (".ttf", 1), (".ico", 1), (".cur", 1), (".xml", 4), (".h", 3), (".cpp", 3), ("", 2), (".dat", 2)]
names = [e for e, w in mix for _ in range(w)]
dirs = [top]
os.makedirs(top)
for i in range(folders - 1):
    parent = random.choice(dirs[-200:] if len(dirs) > 1 else dirs)
    d = os.path.join(parent, "folder%04d" % i)
    os.makedirs(d)
    dirs.append(d)
for i in range(files):
    d = dirs[i % len(dirs)]
    path = os.path.join(d, "file_%06d_%s%s" % (i, random.choice(["report", "img", "song", "data", "x"]),
                                                random.choice(names)))
    with open(path, "wb") as f:
        # Sizes from empty to a few hundred kilobytes, written sparse.
        size = 0 if random.random() < 0.03 else int(random.expovariate(1 / 40000))
        if size:
            f.truncate(size)
PY
echo "made $files files in $folders folders under $bench/tree"

"$root/tools/wine-display.sh" start "$build" >/dev/null
trap '"$root/tools/wine-display.sh" stop "$build"' EXIT
wine_build=$build
. "$root/tools/wine-env.sh"
tree=$("$WINE" winepath -w "$bench/tree" 2>/dev/null)
data=$("$WINE" winepath -w "$bench/data" 2>/dev/null)
"$WINE" "$build/catalogue_bench.exe" "$tree" "$data" >"$bench/figures.txt" 2>&1 || true
cat "$bench/figures.txt"
