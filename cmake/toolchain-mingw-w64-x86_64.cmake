# SPDX-License-Identifier: MIT
# Cross-builds for 64-bit Windows with Debian's mingw-w64 (posix threads):
#   cmake -S . -B build-win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-w64-x86_64.cmake \
#         -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
#   cmake --build build-win --target quillmark-decode     # build-win/bin/quillmark-decode.exe
# For Windows the project builds only the decoder and quillmark-decode (see CMakeLists.txt).
# Headers of header-only libraries (CLI11, nlohmann/json) are taken from the build machine;
# everything that is linked comes from the mingw-w64 sysroot.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(QUILLMARK_MINGW_TRIPLET x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${QUILLMARK_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUILLMARK_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${QUILLMARK_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${QUILLMARK_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE BOTH)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)

# Tests of the Windows programs run under Wine on the build machine.
find_program(QUILLMARK_WINE NAMES wine64 wine PATHS /usr/lib/wine)
if(QUILLMARK_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${QUILLMARK_WINE})
endif()
