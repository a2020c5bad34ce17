#!/usr/bin/env bash
# End to end: starts the built Sortaro.exe as a user would, finds its windows by their titles,
# answers them with keys, and checks what lands in the registry.
# Usage: startup.sh BUILD_DIR SORTARO_EXE
set -uo pipefail
build=$1
exe=$2
wine_build=$build
. "$(dirname "$0")/../../tools/wine-env.sh"
. "$(dirname "$0")/../../tools/drive-lib.sh"
. "$(dirname "$0")/checks.sh"
: >"$build/e2e-app.out"

# 1. A first start: the German start-up dialog; Esc ends the program and writes nothing.
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

# 2. English, reading the database: "Select DriveType", then the main window; closing it
#    stores the layout.
clear_settings
option "" language 0
option "" scannewdata 1
option "" SaveSettings 1
start_sortaro "$build/e2e-app.out"
window=$(wait_window '^Select DriveType$')
check "English start-up dialog appears" "${window:+found}" found
press "$window" Return
main=$(wait_window '^Sortaro$')
check "main window appears" "${main:+found}" found
press "$main" alt+F4
wait_exit "$app"
check "closing the main window ends the program" "$?" 0
values=$(registry_values 'HKCU\Software\Sortaro\Options\ScreenSettings' | cut -d= -f1 | sort | tr '\n' ' ')
check "the layout is stored" "$values" "height left raster rowselect top treewidthmain treewidthpreview width "
check "the preview flag is stored" "$(registry_values 'HKCU\Software\Sortaro\Options\Vorschau')" "Enabled=0"

clear_settings
finish
