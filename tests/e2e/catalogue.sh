#!/usr/bin/env bash
# End to end: Sortaro.exe scans a folder tree made here and a folder on the CD-ROM drive E:, the
# text files are sorted from the menu, and the catalogue database written when the main window is
# closed is checked on disk. Then the disc is taken out and the catalogue read at the next start:
# closing again leaves the disc's records as they were. (What is read back is checked by the Wine
# tests.)
# Usage: catalogue.sh BUILD_DIR SORTARO_EXE
set -uo pipefail
build=$1
exe=$2
wine_build=$build
. "$(dirname "$0")/../../tools/wine-env.sh"
. "$(dirname "$0")/../../tools/drive-lib.sh"
. "$(dirname "$0")/checks.sh"
out="$build/e2e-catalogue.out"
: >"$out"

top="$WINEPREFIX/drive_c/sortaro-e2e"
rm -rf "$top"
mkdir -p "$top/tree/Briefe" "$top/tree/Bilder" "$top/install"
printf 'Hallo' >"$top/tree/Briefe/brief.txt"
head -c 3000 /dev/zero >"$top/tree/Briefe/lang.txt"
printf 'Notiz' >"$top/tree/Briefe/NOTIZ.TXT"
: >"$top/tree/leer.txt"
printf 'JFIF' >"$top/tree/Bilder/urlaub.jpg"
# Entries that cannot be read: a link to nowhere, and a link that leads round in a circle.
ln -s /nonexistent-sortaro-target "$top/tree/kaputt.txt"
ln -s . "$top/tree/Bilder/kreis"
# The disc in drive E: (see tools/wine-display.sh).
disc="$WINEPREFIX/drive_c/cdrom-e"
mkdir -p "$disc/urlaub"
printf 'JFIF' >"$disc/urlaub/strand.jpg"

clear_settings
option "" datafrom 0000 # no drives: only the added folder is scanned
option "" database 1
option "" InstallDir 'C:\sortaro-e2e\install'
option "\\AddedDirs" 'C:\sortaro-e2e\tree' ""
option "\\AddedDirs" 'E:\urlaub' ""
option "\\FileEnding" 30 '.txt'
option "\\FileEnding" 9 '.jpg+.jpeg'

# In the tree, which has the focus, Home and the start of a name select the next node whose text
# begins with it, "Textdateien"; without such a node the root stays selected, the sort changes no
# file and the order check fails. Then the tool bar's view menu (Alt+A), its last item "Symbole
# anordnen", its first sort "Nach Namen": A to Z.
text_files="Home T e x t d"
start_sortaro "$out"
press "$(wait_window '^Sortaro Auswahl der Datenträger$')" Return
window=$(wait_window '^Sortaro Auswahl der Laufwerke$')
check "the drive dialog appears" "${window:+found}" found
press "$window" Return
main=$(wait_window '^Sortaro$')
check "the main window appears after the scan" "${main:+found}" found
press "$main" $text_files
press "$main" alt+a End Right Return
press "$main" alt+F4
wait_exit "$app"
check "closing ends the program" "$?" 0

data="$top/install/Data"
lines() { tr -d '\r' <"$1" | tr '\n' ' '; }
check "the text files are stored in the order of their names, after Textdateien was typed" "$(lines "$data/30.dat")" \
    'C:\sortaro-e2e\tree\Briefe\brief.txt C:\sortaro-e2e\tree\Briefe\lang.txt C:\sortaro-e2e\tree\leer.txt C:\sortaro-e2e\tree\Briefe\NOTIZ.TXT '
check "lines end in CR LF" "$(grep -c $'\r$' "$data/30.dat")" 4
check "pictures are stored, the disc's too" "$(lines "$data/9.dat" | tr ' ' '\n' | sort | tr '\n' ' ')" \
    'C:\sortaro-e2e\tree\Bilder\urlaub.jpg E:\urlaub\strand.jpg '
check "the empty file is stored" "$(lines "$data/31.dat")" 'C:\sortaro-e2e\tree\leer.txt '

# The disc taken out, the catalogue read at the next start and written again at close.
mv "$disc" "$disc.out"
cp "$data/9.dat" "$data/9.facts" "$build/"
option "" scannewdata 1
start_sortaro "$out"
press "$(wait_window '^Sortaro Auswahl der Datenträger$')" Return
main=$(wait_window '^Sortaro$')
check "without the disc the main window appears from the catalogue" "${main:+found}" found
press "$main" alt+F4
wait_exit "$app"
cmp -s "$data/9.dat" "$build/9.dat" && cmp -s "$data/9.facts" "$build/9.facts"
check "the disc's records are kept as they were" "$?" 0
rm -rf "$disc"
mv "$disc.out" "$disc"
rm -rf "$disc/urlaub" "$build/9.dat" "$build/9.facts"

rm -rf "$top"
clear_settings
finish
