# Cross build of the Windows program on Linux with the posix-threads MinGW-w64 toolchain.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(BRENNIC_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${BRENNIC_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${BRENNIC_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${BRENNIC_MINGW_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${BRENNIC_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# The shipped programs need only system DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
# Header-only libraries of the build machine (toml++) are looked up outside the MinGW-w64 tree.
list(APPEND CMAKE_PREFIX_PATH /usr)
