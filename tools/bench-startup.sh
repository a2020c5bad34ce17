#!/usr/bin/env bash
# Measures how long Sortaro.exe takes under Wine from launch until its start-up dialog is on
# screen, and until the main window is, on the database path. Prints the figures of each run
# and their median. Run after tools/test.sh (uses the build that the Wine suite runs: build/win32
# where this machine runs 32-bit code, build/win64 elsewhere).
# Usage: tools/bench-startup.sh [RUNS]
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
root_dir=$root
. "$root/tools/wine-arch.sh"
build="$root/build/$wine_arch"
echo "figures of $wine_arch_reason"
runs=${1:-5}
"$root/tools/wine-display.sh" start "$build" >/dev/null
trap '"$root/tools/wine-display.sh" stop "$build"' EXIT
wine_build=$build
. "$root/tools/wine-env.sh"
. "$root/tools/drive-lib.sh"

now_ms() { date +%s%3N; }
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

"$WINE" reg delete 'HKCU\Software\Sortaro' /f >/dev/null 2>&1
"$WINE" reg add 'HKCU\Software\Sortaro\Options' /v scannewdata /d 1 /f >/dev/null 2>&1
dialog_times=()
main_times=()
for i in $(seq "$runs"); do
    start=$(now_ms)
    ( cd "$build" && exec "$WINE" Sortaro.exe >/dev/null 2>&1 ) &
    app=$!
    dialog=$(wait_window '^Sortaro Auswahl der Datenträger$')
    dialog_times+=($(($(now_ms) - start)))
    press "$dialog" Return
    main=$(wait_window '^Sortaro$')
    main_times+=($(($(now_ms) - start)))
    press "$main" alt+F4
    wait_exit "$app" >/dev/null || kill "$app" 2>/dev/null
    wait_window_gone "Sortaro" 50
    echo "run $i: start-up dialog after ${dialog_times[-1]} ms, main window after ${main_times[-1]} ms"
done
echo "median: start-up dialog $(printf '%s\n' "${dialog_times[@]}" | median) ms," \
    "main window $(printf '%s\n' "${main_times[@]}" | median) ms (includes xdotool polling)"
"$WINE" reg delete 'HKCU\Software\Sortaro' /f >/dev/null 2>&1
