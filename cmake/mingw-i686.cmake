# Cross build for 32-bit Windows (i686) with Debian's MinGW-w64: the programs as shipped.
# Usage: cmake -S . -B build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
#            -DLIBJPEG_DIR=build/deps/libjpeg-turbo-i686 (tools/build-libjpeg.sh makes it)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(TOOLCHAIN_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
