# Sourced (POSIX sh) with wine_build set to the build folder: the environment of the project's own Wine
# prefix. Sets WINE to the loader to call.
#
# The prefix's kind follows the build it runs: a 32-bit prefix for the i686 build (as shipped),
# a 64-bit one for the x86-64 build. The build folder names its kind in the file wine-arch
# (written when CMake configures it); wine_arch set beforehand overrides that.
: "${wine_build:?set wine_build to the build folder before sourcing}"
if [ -z "${wine_arch:-}" ]; then
    wine_arch=$(cat "$wine_build/wine-arch" 2>/dev/null) || true
fi
case "$wine_arch" in
win32 | win64) ;;
*) echo "wine-env.sh: $wine_build/wine-arch names no kind of prefix (win32 or win64)" >&2; exit 1 ;;
esac
export WINEARCH="$wine_arch"
export WINEPREFIX="$wine_build/wineprefix"
export WINEDEBUG="${WINEDEBUG:--all}"
# No menu entries or .desktop files in the home folder; no sound device probing.
export WINEDLLOVERRIDES="winemenubuilder.exe=d;winealsa.drv,winepulse.drv=d"
# Files deleted to the recycle bin land below XDG_DATA_HOME/Trash.
export XDG_DATA_HOME="$wine_build/xdg"
mkdir -p "$XDG_DATA_HOME/Trash"
if [ "$wine_arch" = win32 ]; then
    export WINELOADER=/usr/lib/wine/wine
    export WINESERVER=/usr/lib/wine/wineserver32
else
    export WINELOADER=/usr/lib/wine/wine64
    export WINESERVER=/usr/lib/wine/wineserver64
fi
WINE=$WINELOADER
if [ -s "$wine_build/xvfb.display" ]; then
    DISPLAY=":$(cat "$wine_build/xvfb.display")"
    export DISPLAY
fi
