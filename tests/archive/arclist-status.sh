#!/usr/bin/env bash
# The lister's exit status: 0 only when every archive named was listed completely; 1 when one
# could not be listed or is damaged (the entries before the damage are still printed, then an
# error line); 2 for a wrong command line.
# Usage: tests/archive/arclist-status.sh LISTER SAMPLES_DIR
set -u
lister=${1:?usage: arclist-status.sh LISTER SAMPLES_DIR}
dir=${2:?usage: arclist-status.sh LISTER SAMPLES_DIR}
cd "$dir" || exit 1
[ -f zip-truncated.zip ] && [ -f sfx7612-streamed-cut.exe ] || { echo "samples missing (zip not installed?)"; exit 77; }
failed=0
# status | lines that must be in the output (grep -E, one per field) | arguments
while IFS='|' read -r want patterns args; do
    # shellcheck disable=SC2086
    out=$("$lister" $args 2>&1)
    got=$?
    if [ "$got" != "$want" ]; then
        echo "FAIL: sortaro-arclist $args exited $got, not $want"
        failed=1
    fi
    IFS=';' read -ra wanted <<<"$patterns"
    for p in "${wanted[@]}"; do
        [ -z "$p" ] && continue
        grep -qE -- "$p" <<<"$out" || { echo "FAIL: sortaro-arclist $args: no line matching '$p' in:"; echo "$out"; failed=1; }
    done
done <<'TABLE'
0|2 entries, 444 packed|zip-stored.zip
0|hello.txt$;tiny.txt$|sfx7612-streamed.exe sfx25661-streamed.exe
1|tiny.txt$;hello.txt$;2 entries;zip-truncated.zip: atZip, Error reading file or unexpected end of file|zip-truncated.zip
1|^error	sfx7612-streamed-cut.exe	atZipExe	Entry size unknown|--tsv sfx7612-streamed-cut.exe
1|"error":"Entry size unknown|--json sfx25661-streamed-cut.exe
1|2 entries, 444 packed;zip-truncated.zip: atZip, Error|zip-stored.zip zip-truncated.zip
1|Unknown file type|make-samples.log
1|File not found|no-such-archive.zip
2|usage:|--bogus zip-stored.zip
TABLE
exit $failed
