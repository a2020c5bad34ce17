#!/usr/bin/env bash
# End to end: starts the built Sortaro.exe as a user would, finds its start-up dialog by its
# title, cancels it with Esc, and checks that the program ends writing nothing. (The catalogue
# run goes on to the main window and closes it.)
# Usage: startup.sh BUILD_DIR SORTARO_EXE
set -uo pipefail
build=$1
exe=$2
wine_build=$build
. "$(dirname "$0")/../../tools/wine-env.sh"
. "$(dirname "$0")/../../tools/drive-lib.sh"
. "$(dirname "$0")/checks.sh"
: >"$build/e2e-app.out"

clear_settings
start_sortaro "$build/e2e-app.out"
window=$(wait_window '^Sortaro Auswahl der Datenträger$')
check "start-up dialog appears" "${window:+found}" found
press "$window" Escape
wait_exit "$app"
check "cancel ends the program" "$?" 0
check "cancel writes no values" "$(registry_values 'HKCU\Software\Sortaro')" ""
"$WINE" reg query 'HKCU\Software\Sortaro\Options' >/dev/null 2>&1
check "the start-up read created the Options key" "$?" 0

clear_settings
finish
