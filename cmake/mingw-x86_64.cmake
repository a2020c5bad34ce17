# Cross build for 64-bit Windows (x86-64) with Debian's MinGW-w64: the same sources, for
# machines that run only 64-bit code under Wine (the tests run this build).
# Usage: cmake -S . -B build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake \
#            -DLIBJPEG_DIR=build/deps/libjpeg-turbo-x86_64 (tools/build-libjpeg.sh makes it)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(TOOLCHAIN_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
