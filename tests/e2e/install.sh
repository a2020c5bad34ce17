#!/usr/bin/env bash
# End to end: installs the staged medium with "setup.exe /S" into a fresh Wine prefix, checks
# the installed files, shortcuts and registry values, starts Sortaro.exe from the installed
# folder to see it use what the installation wrote, then removes both installations silently
# and checks that only the catalogue stays.
# Usage: install.sh BUILD_DIR MEDIUM_DIR
set -uo pipefail
build=$1
medium=$2
here=$(cd "$(dirname "$0")" && pwd)
# A prefix of its own, on the display of the build's test run: a copy of the test run's
# prefix (making one from scratch takes Wine twenty seconds) with every trace of an earlier
# installation removed.
work="$build/e2e-install"
rm -rf "$work"
mkdir -p "$work"
cp -a "$build/wineprefix" "$work/wineprefix"
wine_build=$work
wine_arch=$(cat "$build/wine-arch")
. "$here/../../tools/wine-env.sh"
. "$here/../../tools/drive-lib.sh"
DISPLAY=":$(cat "$build/xvfb.display")"
export DISPLAY
programs="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs"
desktop="$WINEPREFIX/drive_c/users/Public/Desktop"
installed="$WINEPREFIX/drive_c/Program Files/Sortaro"
rm -rf "$installed" "$programs/Sortaro" "$desktop/Sortaro.lnk" "$WINEPREFIX/drive_c/Programme"

. "$here/checks.sh"
cleanup() {
    "$WINESERVER" -k >/dev/null 2>&1 || true
    "$WINESERVER" -w >/dev/null 2>&1 || true
    rm -rf "$WINEPREFIX"
}
trap cleanup EXIT

# Output to files only: Wine's helper processes inherit it and would hold a pipe open.
"$WINESERVER" -p >/dev/null 2>&1
"$WINE" reg delete 'HKCU\Software\Sortaro' /f >/dev/null 2>&1
values() { registry_values 'HKCU\Software\Sortaro\Options' | grep -E '^(language|InstallDir)=' | sort | tr '\n' ' '; }

# 1. A bad switch is refused with a message and a non-zero code, before anything is done.
(cd "$medium" && "$WINE" setup.exe /S /LANG=FR >"$work/bad.out" 2>"$work/bad.err")
check "an unknown switch fails" "$?" 64
check "and says why" "$(grep -c 'unknown switch: /LANG=FR' "$work/bad.err")" 1

# 2. The silent installation in English, started from another folder: the medium is found
#    beside setup.exe.
(cd "$work" && "$WINE" "Z:$(echo "$medium/setup.exe" | tr / '\\')" /S /LANG=EN >"$work/setup.out" 2>"$work/setup.err")
check "setup.exe /S succeeds" "$?" 0
check "and reports nothing" "$(cat "$work/setup.err")" ""

check "Sortaro.exe is installed" "$(cmp -s "$medium/Sortaro.exe" "$installed/Sortaro.exe" && echo same)" same
check "with both shortcuts" "$(ls "$programs/Sortaro/Sortaro.lnk" "$desktop/Sortaro.lnk" 2>/dev/null | wc -l)" 2
options=$(values)
check "the language and the folder" "$options" 'InstallDir=C:\\Program Files\\Sortaro language=0 '

# 3. Sortaro started from the installed folder finds what the installation wrote: it speaks
#    English, files a scanned tree by the installed extension lists, and keeps its catalogue
#    in the Data folder of its installation folder.
tree="$WINEPREFIX/drive_c/install-e2e"
mkdir -p "$tree/Bilder"
printf 'JFIF' >"$tree/Bilder/urlaub.JPG"
printf 'ID3' >"$tree/lied.mp3"
option() { "$WINE" reg add "HKCU\\Software\\Sortaro\\Options$1" /v "$2" /d "$3" /f >/dev/null 2>&1; }
option "" datafrom 0000 # no drives: only the added folder is scanned
option "" database 1
option "\\AddedDirs" 'C:\install-e2e' ""
( cd "$installed" && exec "$WINE" Sortaro.exe >"$work/sortaro.out" 2>&1 ) &
app=$!
window=$(wait_window '^Select DriveType$')
check "Sortaro starts in English" "${window:+found}" found
[ -n "$window" ] && press "$window" Return
window=$(wait_window '^Select Drives$')
[ -n "$window" ] && press "$window" Return
main=$(wait_window '^Sortaro$' 60)
check "the main window appears after the scan" "${main:+found}" found
[ -n "$main" ] && press "$main" alt+F4
wait_exit "$app"
stored() { tr -d '\r' <"$installed/Data/$1.dat" 2>/dev/null | sort | tr '\n' ' '; }
check "pictures by the installed list" "$(stored 9)" 'C:\install-e2e\Bilder\urlaub.JPG '
check "MP3 files, also among all media files" "$(stored 45)$(stored 23)" \
    'C:\install-e2e\lied.mp3 C:\install-e2e\lied.mp3 '
check "Sortaro leaves the installation's values alone" "$(values)" "$options"
rm -rf "$tree"

# 4. Installing again in German into a chosen folder replaces the values.
(cd "$medium" && "$WINE" setup.exe /S /LANG=DE '/D=C:\Programme\Katalog' >"$work/setup2.out" 2>"$work/setup2.err")
check "a second installation with /D= succeeds" "$?" 0
check "into the chosen folder" "$([ -f "$WINEPREFIX/drive_c/Programme/Katalog/Sortaro.exe" ] && echo yes)" yes
check "German, the folder follows" "$(values)" 'InstallDir=C:\\Programme\\Katalog language=1 '

# 5. The later installation is removed silently with its own copy of the installer, started
#    as a user would start it: its name makes it the uninstaller.
katalog="$WINEPREFIX/drive_c/Programme/Katalog"
printf 'C:\\x.jpg\r\n' >"$katalog/Data/9.dat"
(cd "$work" && "$WINE" 'C:\Programme\Katalog\Uninstall.exe' /S >"$work/uninstall.out" 2>"$work/uninstall.err")
check "the installed uninstaller succeeds" "$?" 0
check "and reports nothing" "$(cat "$work/uninstall.err")" ""
check "it removed its installation but the catalogue" "$(cd "$katalog" && find . | sort | tr '\n' ' ')" \
    ". ./Data ./Data/9.dat "

# 6. setup.exe /uninstall /S from the medium (the switches the registration gives Windows)
#    finds the remaining installation through its registration and removes it, keeping the
#    catalogue Sortaro wrote in step 3.
(cd "$medium" && "$WINE" setup.exe /uninstall /S >"$work/uninstall2.out" 2>"$work/uninstall2.err")
check "setup.exe /uninstall /S succeeds" "$?" 0
check "and reports nothing" "$(cat "$work/uninstall2.err")" ""
check "only the catalogue is left" "$(cd "$installed" && find . \( -name '*.dat' -o -name '*.facts' \) -prune -o -print | sort | tr '\n' ' ')" \
    ". ./Data "
check "the catalogue is kept" "$(stored 9)" 'C:\install-e2e\Bilder\urlaub.JPG '
check "no shortcuts" "$(ls -d "$programs/Sortaro" "$desktop/Sortaro.lnk" 2>/dev/null)" ""
registration='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Sortaro'
check "no registration, no values of the installation" \
    "$(registry_values "$registration")$(registry_values 'HKCU\Software\Sortaro\Options\FileEnding')$(values)" ""
(cd "$medium" && "$WINE" setup.exe /uninstall /S >"$work/uninstall3.out" 2>"$work/uninstall3.err")
check "nothing left to remove" "$?" 2
check "says so" "$(grep -c 'Deinstallationsprotokoll' "$work/uninstall3.err")" 1

finish
