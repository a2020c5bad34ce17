#!/usr/bin/env bash
# Starts or stops what the Windows tests of a build need: a virtual X display (Xvfb), the
# build's Wine prefix (made on first use) and a wine server kept running between tests.
# Usage: tools/wine-display.sh start|stop|prefix BUILD_DIR   (prefix: only make the prefix, on
# the display the caller has)
set -euo pipefail
action=$1
build=$2
here=$(cd "$(dirname "$0")" && pwd)

stop() {
    # Always end the prefix's server and its processes, also one started without a display
    # (listing the tests starts one): its desktop process would keep new windows off screen.
    wine_build=$build
    # shellcheck source=wine-env.sh
    . "$here/wine-env.sh"
    "$WINESERVER" -k >/dev/null 2>&1 || true
    # Wait until it is gone: a new server for the same prefix cannot start before.
    "$WINESERVER" -w >/dev/null 2>&1 || true
    if [ -f "$build/xvfb.pid" ]; then
        kill "$(cat "$build/xvfb.pid")" >/dev/null 2>&1 || true
    fi
    rm -f "$build/xvfb.pid" "$build/xvfb.display"
}

# Makes the build's prefix on the current display where it is missing, or of the other kind
# (the build folder switched between i686 and x86-64): such a one cannot serve this build.
prefix() {
    wine_build=$build
    # shellcheck source=wine-env.sh
    . "$here/wine-env.sh"
    if [ -f "$WINEPREFIX/system.reg" ] && ! grep -qx "#arch=$WINEARCH" "$WINEPREFIX/system.reg"; then
        rm -rf "$WINEPREFIX"
    fi
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        "$WINE" wineboot -i >/dev/null 2>&1 || true
        "$WINESERVER" -w >/dev/null 2>&1 || true
    fi
    # Drive E: is a CD-ROM drive whose disc is the folder C:\cdrom-e: tests put files there, take
    # the disc out by renaming the folder, and give it another serial number through the file
    # .windows-serial in it. Wine reads the kinds of drives when its server starts.
    mkdir -p "$WINEPREFIX/drive_c/cdrom-e"
    ln -sfn ../drive_c/cdrom-e "$WINEPREFIX/dosdevices/e:"
    if ! grep -qi '^"e:"="cdrom"' "$WINEPREFIX/system.reg"; then
        "$WINE" reg add 'HKLM\Software\Wine\Drives' /v e: /d cdrom /f >/dev/null 2>&1 || true
        "$WINESERVER" -w >/dev/null 2>&1 || true
    fi
    # Wine's own fonts, in the prefix's font folder as on Windows. Debian's Wine 8 asks for them
    # under a path it cannot resolve (Z:\usr\share\wine\../fonts) and never finds them where
    # fonts-wine puts them: without Marlett the window caption buttons show as the letters
    # "0 1 r", without Tahoma and MS Sans Serif every dialog takes a substitute font.
    if [ -d /usr/share/wine/fonts ] && [ -d "$WINEPREFIX/drive_c/windows/Fonts" ]; then
        ln -sf /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
    fi
}

start() {
    stop
    mkdir -p "$build"
    # Every process started here writes to /dev/null or a file: a process that inherited the
    # test runner's pipe would keep it waiting for the end of output for ever.
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$build/xvfb.display" >/dev/null 2>&1 &
    echo $! >"$build/xvfb.pid"
    for _ in $(seq 100); do
        [ -s "$build/xvfb.display" ] && break
        sleep 0.1
    done
    [ -s "$build/xvfb.display" ] || { echo "Xvfb did not start" >&2; exit 1; }
    prefix
    # Persistent, so that each test does not pay for starting it; a server that is still running
    # from before stays and serves as well.
    "$WINESERVER" -p >/dev/null 2>&1 || true
    # A virtual desktop: without a window manager, hiding a top-level X window makes Wine wait
    # two seconds for a state change that never comes; inside the desktop it does not wait.
    "$WINE" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1 || true
    "$WINE" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024 /f >/dev/null 2>&1 || true
    "$WINE" cmd /c exit >/dev/null 2>&1 || true
    echo "Wine ready on display $DISPLAY, prefix $WINEPREFIX"
}

case $action in
start) start ;;
stop) stop ;;
prefix) prefix ;;
*) echo "usage: $0 start|stop|prefix BUILD_DIR" >&2; exit 2 ;;
esac
