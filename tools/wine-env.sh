# Sourced (POSIX sh) with wine_build set to the build folder: the environment of the project's own Wine
# prefix. Sets WINE to the loader to call.
#
# The prefix is 64-bit and runs the x86-64 build: the machines this project builds and tests on
# cannot execute 32-bit Linux code ("Exec format error"), so 32-bit Wine cannot start there.
: "${wine_build:?set wine_build to the build folder before sourcing}"
export WINEARCH=win64
export WINEPREFIX="$wine_build/wineprefix"
export WINEDEBUG="${WINEDEBUG:--all}"
# No menu entries or .desktop files in the home folder; no sound device probing.
export WINEDLLOVERRIDES="winemenubuilder.exe=d;winealsa.drv,winepulse.drv=d"
# Files deleted to the recycle bin land below XDG_DATA_HOME/Trash.
export XDG_DATA_HOME="$wine_build/xdg"
mkdir -p "$XDG_DATA_HOME/Trash"
export WINELOADER=/usr/lib/wine/wine64
export WINESERVER=/usr/lib/wine/wineserver64
WINE=/usr/lib/wine/wine64
if [ -s "$wine_build/xvfb.display" ]; then
    DISPLAY=":$(cat "$wine_build/xvfb.display")"
    export DISPLAY
fi
