#!/usr/bin/env bash
# Builds Sortaro.exe and setup.exe, installs Sortaro into the Wine prefix from the staged medium
# with "setup.exe /S" and runs it from there. On a display ($DISPLAY) it simply starts the program.
# Without one it runs it on a virtual display, walks through the start-up the way a user would
# (start-up dialog, drive choice, main window, one category's files, sorted by size), saves a screenshot of each
# step into the build tree, closes the program cleanly, starts it once more at 150 % scaling for a screenshot
# of the main window and says where the pictures are.
# Usage: tools/run.sh [--english]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
language=1
[ "${1:-}" = "--english" ] && language=0

root_dir=$root
# shellcheck source=wine-arch.sh
. "$root/tools/wine-arch.sh"
bash "$root/tools/bootstrap.sh"

# The medium of the build that runs here: the i686 build as shipped wherever this machine runs
# 32-bit code, the x86-64 build elsewhere (then the shipped one is built too). The prefix, the
# screenshots and what the programs print go to build/app.
build_medium() {
    local name=$1 cpu=$2
    "$root/tools/build-libjpeg.sh" "$root/cmake/mingw-$cpu.cmake" "$root/build/deps/libjpeg-turbo-$cpu"
    cmake -S "$root" -B "$root/build/$name" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$cpu.cmake" \
        -DLIBJPEG_DIR="$root/build/deps/libjpeg-turbo-$cpu" >/dev/null
    cmake --build "$root/build/$name" -j"$(nproc)" --target medium >/dev/null
}
build_medium win32 i686
[ "$wine_arch" = win64 ] && build_medium win64 x86_64
medium="$root/build/$wine_arch/medium"
build="$root/build/app"
mkdir -p "$build"
echo "$wine_arch" >"$build/wine-arch"
echo "running $wine_arch_reason: the medium $medium"

# Installs Sortaro silently from the medium, in the chosen language; sets $installed.
install_sortaro() {
    local lang=DE
    [ "$language" = 0 ] && lang=EN
    if ! (cd "$medium" && "$WINE" setup.exe /S /LANG=$lang >"$build/setup.out" 2>&1); then
        cat "$build/setup.out"
        echo "setup.exe /S failed"
        exit 1
    fi
    installed="$WINEPREFIX/drive_c/Program Files/Sortaro"
    echo "installed Sortaro into $installed"
}

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    user_display=$DISPLAY
    "$root/tools/wine-display.sh" prefix "$build"
    wine_build=$build
    . "$root/tools/wine-env.sh"
    export DISPLAY=$user_display
    install_sortaro
    cd "$installed" && exec "$WINE" Sortaro.exe
fi

"$root/tools/wine-display.sh" start "$build" >/dev/null
trap '"$root/tools/wine-display.sh" stop "$build"' EXIT
wine_build=$build
. "$root/tools/wine-env.sh"
. "$root/tools/drive-lib.sh"
shots="$build/screenshots"
mkdir -p "$shots"
suffix=""
[ "$language" = 0 ] && suffix="-en"
install_sortaro
# 100 % scaling, also after a run that stopped while it was at 150 %.
"$WINE" reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null 2>&1 || true
"$WINE" reg add 'HKCU\Software\Sortaro\Options' /v scannewdata /d 0 /f >/dev/null 2>&1
# Scan the prefix's drive C: only: its drive Z: is the whole Linux file system. Fixed drives
# are listed in letter order, so the marks "10" keep C: and leave Z: out.
"$WINE" reg add 'HKCU\Software\Sortaro\Options' /v datafrom /d 0100 /f >/dev/null 2>&1
"$WINE" reg add 'HKCU\Software\Sortaro\Options' /v hddata /d 10 /f >/dev/null 2>&1

# A few documents of different sizes, so that the text files show something to sort.
samples="$WINEPREFIX/drive_c/users/Public/Documents/Beispiele"
mkdir -p "$samples"
for entry in Einkaufsliste:2 Protokoll:48 Reisebericht:310 Notizen:9 Handbuch:1200 Briefentwurf:21; do
    head -c $((${entry#*:} * 1024)) /dev/zero | tr '\0' 'x' >"$samples/${entry%:*}.txt"
done
( cd "$installed" && exec "$WINE" Sortaro.exe >"$build/run.out" 2>&1 ) &
app=$!
snap() { sleep 0.7; import -window root "$shots/$1$suffix.png"; echo "screenshot: $shots/$1$suffix.png"; }

startup=$(wait_window '^(Sortaro Auswahl der Datenträger|Select DriveType)$') || { echo "no start-up dialog"; exit 1; }
snap 1-startup
press "$startup" Return
drives=$(wait_window '^(Sortaro Auswahl der Laufwerke|Select Drives)$') || { echo "no drive dialog"; exit 1; }
snap 2-drives
press "$drives" Return
main=$(wait_window '^Sortaro$' 300) || { echo "no main window"; exit 1; }
snap 3-main
# The tree has the focus: the fifth category below the root is the setup files (.INF, .INI),
# of which the prefix's drive C: has a few.
press "$main" Home Down Down Down Down Down
snap 4-setupfiles
# Eight categories further down are the text files. The tool bar's view menu (Alt+A), its last
# item "Symbole anordnen", the third sort "Nach Größe": largest first.
press "$main" Down Down Down Down Down Down Down Down
press "$main" alt+a End Right Down Down Return
snap 5-textfiles-by-size
press "$main" alt+F4
if wait_exit "$app"; then
    echo "Sortaro ended cleanly."
else
    echo "Sortaro did not end cleanly (status $?)."
    exit 1
fi

# Once more at 150 % (144 dots per inch), as on most laptops: the first start's window must lie
# inside the screen, its pictures drawn at the larger size. Wine reads the scale when a
# program starts; it is put back to 100 % afterwards.
"$WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1
( cd "$installed" && exec "$WINE" Sortaro.exe >"$build/run-144dpi.out" 2>&1 ) &
app=$!
startup=$(wait_window '^(Sortaro Auswahl der Datenträger|Select DriveType)$') || { echo "no start-up dialog at 144 dpi"; exit 1; }
press "$startup" Return
drives=$(wait_window '^(Sortaro Auswahl der Laufwerke|Select Drives)$') || { echo "no drive dialog at 144 dpi"; exit 1; }
press "$drives" Return
main=$(wait_window '^Sortaro$' 300) || { echo "no main window at 144 dpi"; exit 1; }
snap 6-main-144dpi
press "$main" alt+F4
wait_exit "$app" || { echo "Sortaro at 144 dpi did not end cleanly."; exit 1; }
"$WINE" reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null 2>&1 || true
