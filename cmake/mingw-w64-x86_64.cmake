# Cross-builds for 64-bit Windows with Debian's mingw-w64 (package g++-mingw-w64-x86-64-posix).
# The posix thread variant gives std::thread and std::mutex; everything is linked statically,
# so the programs need no DLLs beside them. Programs run under Wine (package wine64).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLET})
# The libraries Debian has no mingw package of, cross-built from its sources into one prefix
# (scripts/build-sndfile-windows.sh), are found there like the system's own.
set(MURMORA_WINDOWS_DEPS ${CMAKE_BINARY_DIR}/deps CACHE PATH "Prefix of the libraries cross-built for Windows")
list(APPEND CMAKE_FIND_ROOT_PATH ${MURMORA_WINDOWS_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

find_program(WINE_PROGRAM wine)
if(WINE_PROGRAM)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${WINE_PROGRAM})
endif()
