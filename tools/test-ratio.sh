#!/bin/bash
# Test lines against product lines: the non-blank lines of the text files under tests/ against
# those under catalogue/, setup/ and common/ (pictures, icons and binary test inputs left out).
# Prints both counts, the ratio and the lines per folder; exits 1 when the ratio is above the
# limit given as the first argument (none by default).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
limit="${1:-}"

count() { # non-blank lines of the text files below the given folders
    (cd "$root" && git ls-files -z -- "$@" | xargs -0 grep -I -v -c '^[[:space:]]*$' 2>/dev/null || true) |
        awk -F: '{ total += $NF } END { print total + 0 }'
}

tests=$(count tests)
product=$(count catalogue setup common)
for folder in tests/native tests/wine tests/e2e tests/archive tests/fuzz catalogue setup common; do
    printf '  %-14s %6d\n' "$folder" "$(count "$folder")"
done
ratio=$(awk -v t="$tests" -v p="$product" 'BEGIN { printf "%.3f", p ? t / p : 0 }')
echo "test lines $tests, product lines $product, ratio $ratio"
if [ -n "$limit" ] && awk -v r="$ratio" -v l="$limit" 'BEGIN { exit !(r > l) }'; then
    echo "the ratio is above $limit" >&2
    exit 1
fi
