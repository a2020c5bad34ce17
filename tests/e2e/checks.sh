# Sourced by the end-to-end scripts (bash), with build and exe set: the Wine environment, the
# window helpers, and checks that are counted and summed up at the end.
wine_build=$build
. "$(dirname "${BASH_SOURCE[0]}")/../../tools/wine-env.sh"
. "$(dirname "${BASH_SOURCE[0]}")/../../tools/drive-lib.sh"

failures=0
check() {
    if [ "$2" = "$3" ]; then
        echo "ok: $1"
    else
        echo "FAIL: $1: expected [$3], got [$2]"
        failures=$((failures + 1))
    fi
}

# Removes the program's settings and ends the script with the result of the checks.
finish() {
    "$WINE" reg delete 'HKCU\Software\Sortaro' /f >/dev/null 2>&1
    if [ "$failures" -ne 0 ]; then
        echo "$failures check(s) failed"
        exit 1
    fi
}
