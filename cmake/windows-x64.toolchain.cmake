# SPDX-License-Identifier: MIT
# Cross-builds the Windows programs with Debian's MinGW-w64 compilers (the
# POSIX thread model, for std::mutex and std::thread) and runs what the build
# and CTest start under Wine, in a Wine prefix of the build folder's own.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(zur_triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${zur_triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${zur_triple}-g++-posix)
set(CMAKE_RC_COMPILER ${zur_triple}-windres)

# Libraries and headers of the Windows target only, programs of the host.
set(CMAKE_FIND_ROOT_PATH /usr/${zur_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Linked statically, the programs need no DLL beyond those of Windows itself.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Wine's offers to install Mono and Gecko would wait for an answer forever.
# Without address randomization, which now and then puts the heap of
# Debian's wine64 (which has no preloader) over an address Windows fixes,
# and Wine ends before the program starts (see tests/windows/wine_run.sh);
# the programs a program starts inherit it.
find_program(ZUR_WINE wine REQUIRED)
find_program(ZUR_SETARCH setarch REQUIRED)
set(ZUR_WINE_ENVIRONMENT WINEDLLOVERRIDES=mscoree,mshtml= WINEDEBUG=-all
                         WINEPREFIX=${CMAKE_BINARY_DIR}/wine-prefix)
set(CMAKE_CROSSCOMPILING_EMULATOR env ${ZUR_WINE_ENVIRONMENT} ${ZUR_SETARCH} -R ${ZUR_WINE})
