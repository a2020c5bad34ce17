#!/usr/bin/env bash
# Makes the sample archives the archive reader's tests read, with the real archivers, into the
# given folder. Every input file is dated 2021-03-04 05:06:08 UTC; run under TZ=UTC so that the
# DOS times the archivers store are that time too. Archives that a missing tool cannot make are
# left out; the tests that need them say so.
# Usage: tests/archive/make-samples.sh OUTDIR
set -u
out=${1:?usage: make-samples.sh OUTDIR}
export TZ=UTC LC_ALL=C
rm -rf "$out"
mkdir -p "$out"
out=$(cd "$out" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
log=$out/make-samples.log
stamp='2021-03-04 05:06:08'
have() { command -v "$1" >/dev/null 2>&1 || { echo "make-samples: $1 missing, its archives are skipped" >&2; return 1; }; }
run() { "$@" >>"$log" 2>&1 || echo "make-samples: '$*' failed ($?)" >&2; }

# Inputs: a compressible text, 512 binary bytes in a subfolder, an empty folder, a 4-byte file,
# a name that is not 8.3, and a path over 255 bytes.
in=$work/in
mkdir -p "$in/sub" "$in/emptydir"
for i in $(seq 20); do printf 'Hello, archive world!\n'; done >"$in/hello.txt"
for i in 1 2; do for b in $(seq 0 255); do printf "\\$(printf '%03o' "$b")"; done; done >"$in/sub/data.bin"
printf 'abc\n' >"$in/tiny.txt"
for i in 1 2 3; do printf 'long name test\n'; done >"$in/LongFileName.Text"
deep=$work/deep/$(printf 'd%.0s' $(seq 120))/$(printf 'e%.0s' $(seq 120))
mkdir -p "$deep"
printf 'deep\n' >"$deep/$(printf 'f%.0s' $(seq 40)).txt"
find "$in" "$work/deep" -exec touch -h -d "$stamp" {} +

# The stub of self-extracting archives: "MZ" and zeros (4096 bytes, no DOS image length).
stub=$work/stub.exe
{ printf 'MZ'; head -c 4094 /dev/zero; } >"$stub"

if have zip; then
    cd "$in"
    run zip -X -0 "$out/zip-stored.zip" tiny.txt hello.txt
    run zip -X -9 -r "$out/zip-deflate-dirs.zip" hello.txt sub emptydir tiny.txt
    # Written to a pipe: flag bit 3 and data descriptors after each entry's data.
    zip -X - hello.txt tiny.txt 2>>"$log" | cat >"$out/zip-streamed.zip"
    (cd "$work/deep" && run zip -X -r "$out/zip-longname.zip" .)
    # Self-extracting: the stub in front, offsets as they were, and adjusted by zip -A.
    cat "$stub" "$out/zip-deflate-dirs.zip" >"$out/sfx-unadjusted.exe"
    cat "$stub" "$out/zip-streamed.zip" >"$out/sfx-streamed-unadjusted.exe"
    cp "$out/sfx-unadjusted.exe" "$out/sfx-adjusted.exe"
    run zip -A "$out/sfx-adjusted.exe"
    # A ZIP cut before its central directory.
    head -c 300 "$out/zip-stored.zip" >"$out/zip-truncated.zip"
    # Standard input as the member: ZIP64 extra fields and end records, written to a file and,
    # with data descriptors of 64-bit sizes, to a pipe.
    printf 'streamed input\n' >"$work/stdin.txt"
    touch -d "$stamp" "$work/stdin.txt"
    zip -X -q "$out/zip64-stdin.zip" - <"$work/stdin.txt" 2>>"$log"
    zip -X -q - - <"$work/stdin.txt" 2>>"$log" | cat >"$out/zip64-piped.zip"
    # Streamed archives behind the two stub sizes that self-extractors had ("MZ" and zeros):
    # offsets as written, adjusted by zip -A, and one cut before its central directory; and a
    # ZIP64 archive behind the first, its 64-bit end record's offset unadjusted.
    for size in 7612 25661; do
        { printf 'MZ'; head -c $((size - 2)) /dev/zero; } >"$work/stub$size.exe"
        cat "$work/stub$size.exe" "$out/zip-streamed.zip" >"$out/sfx$size-streamed.exe"
        cp "$out/sfx$size-streamed.exe" "$out/sfx$size-streamed-adjusted.exe"
        run zip -A "$out/sfx$size-streamed-adjusted.exe"
        head -c $((size + 200)) "$out/sfx$size-streamed.exe" >"$out/sfx$size-streamed-cut.exe"
    done
    cat "$work/stub7612.exe" "$out/zip64-stdin.zip" >"$out/sfx7612-zip64.exe"
fi
if have arj; then
    cd "$in"
    run arj a -r -a1 -y "$out/arj-dirs.arj" '*'
fi
if have jlha; then
    cd "$in"
    for level in 0 1 2; do run jlha c$level "$out/lha-level$level.lzh" hello.txt tiny.txt sub emptydir; done
fi
if have arc; then
    cd "$in"
    # arc asks before it cuts a name to 8.3.
    (yes y | timeout 60 arc a "$out/arc-lzw.arc" hello.txt tiny.txt LongFileName.Text) >>"$log" 2>&1
    timeout 60 arc as "$out/arc-sto.arc" tiny.txt hello.txt </dev/null >>"$log" 2>&1
fi
if have gcab; then
    cd "$in"
    run gcab -c -z "$out/cab-mszip.cab" hello.txt tiny.txt sub/data.bin
fi
if have gzip; then
    cd "$in"
    gzip -9 -c hello.txt >"$out/gzip-name.gz"
    gzip -n -c hello.txt >"$out/gzip-noname.txt.gz"
fi
if have tar; then
    cd "$in"
    run tar --format=ustar -cf "$out/tar-ustar.tar" hello.txt sub emptydir tiny.txt
    run tar --format=gnu -cf "$out/tar-gnu-long.tar" -C "$work/deep" .
    run tar --format=pax -cf "$out/tar-pax-long.tar" -C "$work/deep" .
fi
exit 0
