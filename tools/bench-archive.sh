#!/usr/bin/env bash
# Lists one ZIP of 100,000 entries (made by zip) with sortaro-arclist, unzip -l and lsar, each
# several times, and prints the best wall-clock time of each. Not part of the test command.
# Usage: tools/bench-archive.sh [ENTRIES]    (default 100000; needs the host build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
entries=${1:-100000}
lister="$root/build/host/sortaro-arclist"
work="$root/build/bench"
archive="$work/many-$entries.zip"
runs=5
[ -x "$lister" ] || { echo "bench-archive: build the host build first (bash tools/test.sh)" >&2; exit 1; }
for tool in zip unzip lsar python3; do
    command -v $tool >/dev/null || { echo "bench-archive: $tool is missing" >&2; exit 1; }
done

if [ ! -f "$archive" ]; then
    rm -rf "$work/tree"
    mkdir -p "$work/tree"
    # 100 folders of small files with distinct contents.
    python3 - "$work/tree" "$entries" <<'PY'
import os, sys
root, n = sys.argv[1], int(sys.argv[2])
for i in range(n):
    d = os.path.join(root, "d%03d" % (i % 100))
    os.makedirs(d, exist_ok=True)
    with open(os.path.join(d, "file%06d.txt" % i), "w") as f:
        f.write("entry %d\n" % i)
PY
    (cd "$work/tree" && zip -q -r "$archive" .)
    rm -rf "$work/tree"
fi
echo "archive: $archive ($(stat -c %s "$archive") bytes, $entries files)"

best() {
    local best=""
    for _ in $(seq $runs); do
        local start end
        start=$(date +%s%N)
        "$@" >/dev/null 2>&1
        end=$(date +%s%N)
        local ms=$(((end - start) / 1000000))
        if [ -z "$best" ] || [ "$ms" -lt "$best" ]; then best=$ms; fi
    done
    echo "$best"
}

printf '%-34s %8s\n' "lister" "best ms (of $runs)"
printf '%-34s %8s\n' "sortaro-arclist" "$(best "$lister" "$archive")"
printf '%-34s %8s\n' "sortaro-arclist --json" "$(best "$lister" --json "$archive")"
printf '%-34s %8s\n' "unzip -l" "$(best unzip -l "$archive")"
printf '%-34s %8s\n' "lsar" "$(best lsar "$archive")"
printf '%-34s %8s\n' "lsar -j" "$(best lsar -j "$archive")"
echo "entries with folders: sortaro-arclist --dirs $("$lister" --tsv --dirs "$archive" | tail -n +2 | wc -l)," \
     "unzip -l $(unzip -l "$archive" | tail -1 | awk '{print $2}')"
