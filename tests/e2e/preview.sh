#!/usr/bin/env bash
# End to end: Sortaro.exe catalogues a folder with a sound file, the preview is on at start, and
# a click on the file's row opens it in the real media player: the player's log shows the file
# opened and its length read. (Under Wine the player opens files and tells their length and
# position but plays nothing; the commands and texts are checked by the Wine tests.)
# Usage: preview.sh BUILD_DIR SORTARO_EXE
set -uo pipefail
build=$1
exe=$2
wine_build=$build
. "$(dirname "$0")/../../tools/wine-env.sh"
. "$(dirname "$0")/../../tools/drive-lib.sh"
. "$(dirname "$0")/checks.sh"
out="$build/e2e-preview.out"
: >"$out"

top="$WINEPREFIX/drive_c/sortaro-e2e-preview"
rm -rf "$top"
mkdir -p "$top/Klang" "$top/install"
# One second of silence, 8 kHz, 8 bits, mono.
python3 -c '
import sys, wave
with wave.open(sys.argv[1], "wb") as w:
    w.setnchannels(1); w.setsampwidth(1); w.setframerate(8000)
    w.writeframes(b"\x80" * 8000)
' "$top/Klang/ton.wav"

clear_settings
option "" datafrom 0000
option "" database 0
option "" InstallDir 'C:\sortaro-e2e-preview\install'
option "\\AddedDirs" 'C:\sortaro-e2e-preview\Klang' ""
option "\\FileEnding" 26 '.wav'
option "\\Vorschau" Enabled 1
option "\\Vorschau" Sounddatei '.WAV'
log="$top/mci.log"
export SORTARO_LOG=mci,debug SORTARO_LOG_FILE='C:\sortaro-e2e-preview\mci.log'
start_sortaro "$out"
unset SORTARO_LOG SORTARO_LOG_FILE
press "$(wait_window '^Sortaro Auswahl der Datenträger$')" Return
press "$(wait_window '^Sortaro Auswahl der Laufwerke$')" Return
main=$(wait_window '^Sortaro$')
check "the main window appears after the scan" "${main:+found}" found
# The tree has the focus: "Mulitmediadateien" opened, then its fourth child, "Wave-Dateien".
press "$main" Home M u l
press "$main" Right Down Down Down Down
sleep 1
# The first row of the list: right of the tree, below the list's heading.
xdotool mousemove --window "$main" 330 100 click 1
sleep 2
import -window root "$build/e2e-preview.png" 2>/dev/null || true
press "$main" alt+F4
wait_exit "$app"
check "closing ends the program" "$?" 0
check "the player opened the file" "$(grep -c 'open "C:\\sortaro-e2e-preview\\Klang\\ton.wav" alias .* -> 0' "$log")" 1
tr -d '\r' <"$log" | grep -q 'status .* length -> 0 1000$'
check "the player told its length, 1000 ms" "$?" 0
cp "$log" "$build/e2e-preview-mci.log"

rm -rf "$top"
clear_settings
finish
