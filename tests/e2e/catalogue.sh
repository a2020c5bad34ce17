#!/usr/bin/env bash
# End to end: Sortaro.exe scans a folder tree made here, writes its catalogue database when the
# main window is closed, and reads it back at the next start; checked on disk.
# Usage: catalogue.sh BUILD_DIR SORTARO_EXE
set -uo pipefail
build=$1
exe=$2
wine_build=$build
. "$(dirname "$0")/../../tools/wine-env.sh"
. "$(dirname "$0")/../../tools/drive-lib.sh"
. "$(dirname "$0")/checks.sh"
option() { "$WINE" reg add "HKCU\\Software\\Sortaro\\Options$1" /v "$2" /d "$3" /f >/dev/null 2>&1; }

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

"$WINE" reg delete 'HKCU\Software\Sortaro' /f >/dev/null 2>&1
option "" datafrom 0000 # no drives: only the added folder is scanned
option "" database 1
option "" InstallDir 'C:\sortaro-e2e\install'
option "\\AddedDirs" 'C:\sortaro-e2e\tree' ""
option "\\FileEnding" 30 '.txt'
option "\\FileEnding" 9 '.jpg+.jpeg'

( cd "$(dirname "$exe")" && exec "$WINE" "$(basename "$exe")" >"$build/e2e-catalogue.out" 2>&1 ) &
app=$!
window=$(wait_window '^Sortaro Auswahl der Datenträger$')
press "$window" Return
window=$(wait_window '^Sortaro Auswahl der Laufwerke$')
check "the drive dialog lists the added folder" "${window:+found}" found
press "$window" Return
main=$(wait_window '^Sortaro$')
check "the main window appears after the scan" "${main:+found}" found
# The tree has the focus: the text files are the thirteenth node below the root. The tool bar's
# view menu (Alt+A), its last item "Symbole anordnen", its first sort "Nach Namen": A to Z.
text_files="Home Down Down Down Down Down Down Down Down Down Down Down Down Down"
press "$main" $text_files
press "$main" alt+a End Right Return
press "$main" alt+F4
wait_exit "$app"
check "closing ends the program" "$?" 0

data="$top/install/Data"
lines() { tr -d '\r' <"$1" | sort | tr '\n' ' '; }
check "texts are stored" "$(lines "$data/30.dat")" \
    'C:\sortaro-e2e\tree\Briefe\NOTIZ.TXT C:\sortaro-e2e\tree\Briefe\brief.txt C:\sortaro-e2e\tree\Briefe\lang.txt C:\sortaro-e2e\tree\leer.txt '
check "lines end in CR LF" "$(grep -c $'\r$' "$data/30.dat")" 4
check "pictures are stored" "$(lines "$data/9.dat")" 'C:\sortaro-e2e\tree\Bilder\urlaub.jpg '
check "the empty file is stored" "$(lines "$data/31.dat")" 'C:\sortaro-e2e\tree\leer.txt '
check "special folders are not stored" "$(ls "$data" | grep -c '^4[13]\.dat$')" 0
check "no temporary file is left" "$(ls "$data" | grep -c '\.new$')" 0
check "the text files are kept in the order of their names" "$(tr -d '\r' <"$data/30.dat" | tr '\n' ' ')" \
    'C:\sortaro-e2e\tree\Briefe\brief.txt C:\sortaro-e2e\tree\Briefe\lang.txt C:\sortaro-e2e\tree\leer.txt C:\sortaro-e2e\tree\Briefe\NOTIZ.TXT '

# The next start reads the database; the text files are sorted by size from the menu, and
# closing writes the catalogue again, in that order.
rm "$top/tree/Briefe/NOTIZ.TXT"
option "" scannewdata 1
( cd "$(dirname "$exe")" && exec "$WINE" "$(basename "$exe")" >>"$build/e2e-catalogue.out" 2>&1 ) &
app=$!
window=$(wait_window '^Sortaro Auswahl der Datenträger$')
press "$window" Return
main=$(wait_window '^Sortaro$')
check "the main window appears after loading" "${main:+found}" found
# The third sort of the same menu, "Nach Größe": largest first.
press "$main" $text_files
press "$main" alt+a End Right Down Down Return
press "$main" alt+F4
wait_exit "$app"
check "closing ends the program again" "$?" 0
check "the catalogue read back, without the deleted file" "$(lines "$data/30.dat")" \
    'C:\sortaro-e2e\tree\Briefe\brief.txt C:\sortaro-e2e\tree\Briefe\lang.txt C:\sortaro-e2e\tree\leer.txt '
check "the text files are kept largest first" "$(tr -d '\r' <"$data/30.dat" | tr '\n' ' ')" \
    'C:\sortaro-e2e\tree\Briefe\lang.txt C:\sortaro-e2e\tree\Briefe\brief.txt C:\sortaro-e2e\tree\leer.txt '

rm -rf "$top"
"$WINE" reg delete 'HKCU\Software\Sortaro' /f >/dev/null 2>&1
finish
