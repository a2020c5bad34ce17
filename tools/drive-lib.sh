# Sourced by the scripts that drive Sortaro.exe from outside (bash): finding its windows by
# title, answering them with keys, and waiting for the program to end.

# Prints the X window of the first visible window whose title matches the pattern; fails
# after the given number of seconds (default 30).
wait_window() {
    timeout "${2:-30}" xdotool search --sync --onlyvisible --name "$1" 2>/dev/null | head -1
}

# Waits until no visible window matches the pattern.
wait_window_gone() {
    local i
    for i in $(seq "${2:-100}"); do
        xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
        sleep 0.1
    done
    return 1
}

# Sends keys to a window; Wine hands them to its active window.
press() {
    local window=$1
    shift
    xdotool windowfocus --sync "$window" >/dev/null 2>&1 || true
    sleep 0.3
    xdotool key "$@"
}

# Waits for a process to end (default 20 s) and prints its exit status.
wait_exit() {
    local pid=$1 i
    for i in $(seq $((${2:-20} * 10))); do
        if ! kill -0 "$pid" 2>/dev/null; then
            wait "$pid"
            return $?
        fi
        sleep 0.1
    done
    return 124
}

# The values below a registry key as "name=data" lines (UTF-16 export turned into text).
registry_values() {
    local file
    file=$(mktemp)
    if "$WINE" reg export "$1" "$("$WINE" winepath -w "$file" 2>/dev/null || echo "$file")" /y >/dev/null 2>&1; then
        iconv -f UTF-16LE -t UTF-8 "$file" | tr -d '\r' | grep '^"' | sed 's/^"\([^"]*\)"="\(.*\)"$/\1=\2/'
    fi
    rm -f "$file"
}
