# Sourced by the end-to-end scripts (bash): checks that are counted, the sum of them at the
# end, Sortaro's settings and its start ($exe).
failures=0
check() {
    if [ "$2" = "$3" ]; then
        echo "ok: $1"
    else
        echo "FAIL: $1: expected [$3], got [$2]"
        failures=$((failures + 1))
    fi
}

# Ends the script with the result of the checks.
finish() {
    if [ "$failures" -ne 0 ]; then
        echo "$failures check(s) failed"
        exit 1
    fi
}

# A text value below Sortaro's options (the first argument: a subkey with its backslash, or
# empty), and the removal of all its settings.
option() { "$WINE" reg add "HKCU\\Software\\Sortaro\\Options$1" /v "$2" /d "$3" /f >/dev/null 2>&1; }
clear_settings() { "$WINE" reg delete 'HKCU\Software\Sortaro' /f >/dev/null 2>&1; }

# Starts Sortaro.exe in its folder in the background, its output added to $1; app is its process.
start_sortaro() {
    (cd "$(dirname "$exe")" && exec "$WINE" "$(basename "$exe")" >>"$1" 2>&1) &
    app=$!
}
