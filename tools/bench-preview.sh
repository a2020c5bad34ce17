#!/usr/bin/env bash
# The preview benchmark: makes under build/bench-preview a 4000 x 3000 photo-like JPEG (a PPM of
# gradients with fine texture, compressed by the libjpeg-turbo build's cjpeg at quality 90,
# 4:2:0), ZIPs of 10,000 and 100,000 entries and a text file of 10 MB, and times the preview's
# viewers on them under Wine. Prints the figures.
# Run after tools/test.sh (uses the build that the Wine suite runs: build/win32 where this
# machine runs 32-bit code, build/win64 elsewhere). Usage: tools/bench-preview.sh [RUNS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
root_dir=$root
. "$root/tools/wine-arch.sh"
build="$root/build/$wine_arch"
echo "figures of $wine_arch_reason"
runs=${1:-5}
cpu=i686
[ "$wine_arch" = win64 ] && cpu=x86_64
bench="$root/build/bench-preview"

cmake --build "$build" -j"$(nproc)" --target preview_bench >/dev/null
mkdir -p "$bench"
python3 - "$bench/photo.ppm" 4000 3000 <<'PY'
import random, sys
path, width, height = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
random.seed(7)
# One row of colour gradients with a little grain; each further row shifts it sideways and
# brightens or darkens it, so that the picture has smooth areas and detail like a photo.
row = bytearray()
for x in range(width):
    grain = random.randint(-6, 6)
    row += bytes(max(0, min(255, v + grain)) for v in
                 (x * 200 // width + 30, 120 + (x // 50 % 8) * 10, 230 - x * 180 // width))
with open(path, "wb") as f:
    f.write(b"P6\n%d %d\n255\n" % (width, height))
    for y in range(height):
        shift = (y * 7 % width) * 3
        delta = (y * 60 // height) - 30
        table = bytes(max(0, min(255, v + delta)) for v in range(256))
        f.write((row[shift:] + row[:shift]).translate(table))
PY

"$root/tools/wine-display.sh" start "$build" >/dev/null
trap '"$root/tools/wine-display.sh" stop "$build"' EXIT
wine_build=$build
. "$root/tools/wine-env.sh"
"$WINE" "$root/build/deps/libjpeg-turbo-$cpu/bin/cjpeg.exe" -quality 90 \
    -outfile "$("$WINE" winepath -w "$bench/photo.jpg" 2>/dev/null)" \
    "$("$WINE" winepath -w "$bench/photo.ppm" 2>/dev/null)" >/dev/null 2>&1
echo "made $bench/photo.jpg: 4000 x 3000, $(stat -c %s "$bench/photo.jpg") bytes"
python3 - "$bench" <<'PY'
import os, sys, zipfile
folder = sys.argv[1]
for count in (10000, 100000):
    path = os.path.join(folder, "entries-%d.zip" % count)
    if not os.path.exists(path):
        with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as archive:
            for i in range(count):
                archive.writestr("folder%03d/file%06d.txt" % (i // 500, i), b"entry %d\n" % i * 3)
line = b"Eine Zeile Text, wie sie in Protokollen steht: 0123456789 abcdefghij.\r\n"
with open(os.path.join(folder, "text-10mb.txt"), "wb") as text:
    text.write(line * (10 * 1024 * 1024 // len(line)))
PY
echo "made the ZIPs of 10,000 and 100,000 entries and a 10 MB text"
"$WINE" "$build/preview_bench.exe" "$("$WINE" winepath -w "$bench" 2>/dev/null)" "$runs" \
    >"$bench/figures.txt" 2>&1 || true
cat "$bench/figures.txt"
