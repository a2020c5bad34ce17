#!/usr/bin/env bash
# End to end: Sortaro.exe scans a folder of four text files, sorted by name; the first row is
# deleted from the tool bar's "Datei" menu, then the first row again with the Delete key, each
# time with the shell's question answered Yes. The files must be in the recycle bin (the
# prefix's trash) and no longer on disk. A third Delete on the first row must hit the third
# file, which shows that the deleted ones left the list; the database written at close must
# hold only the fourth.
# Usage: delete.sh BUILD_DIR SORTARO_EXE
set -uo pipefail
build=$1
exe=$2
wine_build=$build
. "$(dirname "$0")/../../tools/wine-env.sh"
. "$(dirname "$0")/../../tools/drive-lib.sh"
. "$(dirname "$0")/checks.sh"
out="$build/e2e-delete.out"
: >"$out"

top="$WINEPREFIX/drive_c/sortaro-e2e-delete"
trash="$XDG_DATA_HOME/Trash"
rm -rf "$top"
mkdir -p "$top/tree" "$top/install"
for name in a-weg b-weg c-weg d-bleibt; do
    printf '%s' "$name" >"$top/tree/$name.txt"
done
# Wine adds a mark to each name in the trash; the move there may end a moment after the question.
in_trash() {
    local i
    for i in $(seq 50); do
        ls "$trash/files" 2>/dev/null | grep -q "^$1\.txt" && break
        sleep 0.1
    done
    ls "$trash/files" 2>/dev/null | grep -c "^$1\.txt"
}
clear_trash() { rm -f "$trash"/files/[a-d]-*.txt* "$trash"/info/[a-d]-*.txt*; }
clear_trash

clear_settings
option "" datafrom 0000 # no drives: only the added folder is scanned
option "" database 1
option "" InstallDir 'C:\sortaro-e2e-delete\install'
option "\\AddedDirs" 'C:\sortaro-e2e-delete\tree' ""
option "\\FileEnding" 30 '.txt'

# Answers the shell's question with Enter (Yes) and waits until it is gone.
confirm() {
    local question
    question=$(wait_window '^Confirm file deletion$' 20)
    check "the shell asks before $1" "${question:+found}" found
    press "$question" Return
    wait_window_gone '^Confirm file deletion$'
}
# "Alles markieren" from the tool bar's "Bearbeiten" menu puts the focus into the list; End and
# Home then select the first row alone (Home alone changes nothing while row 0 has the focus).
first_row() {
    press "$main" alt+b m
    press "$main" End Home
}

start_sortaro "$out"
press "$(wait_window '^Sortaro Auswahl der Datenträger$')" Return
press "$(wait_window '^Sortaro Auswahl der Laufwerke$')" Return
main=$(wait_window '^Sortaro$')
check "the main window appears after the scan" "${main:+found}" found
# "Textdateien" in the tree, then sorted by name (see catalogue.sh).
press "$main" Home T e x t d
press "$main" alt+a End Right Return

first_row
press "$main" alt+d l
confirm "the delete from the menu"
check "the menu's delete sends the file to the recycle bin" "$(in_trash a-weg)" 1
check "the file is gone from its folder" "$(ls "$top/tree" | tr '\n' ' ')" 'b-weg.txt c-weg.txt d-bleibt.txt '

first_row
press "$main" Delete
confirm "the delete by key"
check "the Delete key sends the file to the recycle bin" "$(in_trash b-weg)" 1

first_row
press "$main" Delete
confirm "the third delete"
check "the first row is the third file now: the deleted ones left the list" "$(in_trash c-weg)" 1
check "only the fourth file is left on disk" "$(ls "$top/tree" | tr '\n' ' ')" 'd-bleibt.txt '

press "$main" alt+F4
wait_exit "$app"
check "closing ends the program" "$?" 0
check "the database holds only the file left" "$(tr -d '\r' <"$top/install/Data/30.dat" | tr '\n' ' ')" \
    'C:\sortaro-e2e-delete\tree\d-bleibt.txt '
check "no database file names a deleted file" "$(grep -l -e '-weg' "$top/install/Data/"*.dat | wc -l)" 0

clear_trash
rm -rf "$top"
clear_settings
finish
