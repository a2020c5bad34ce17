# Sourced by the end-to-end scripts (bash): checks that are counted, and the sum of them at the
# end.
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
