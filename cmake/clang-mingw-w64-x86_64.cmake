# Cross build of the Windows programs on Linux with clang, as a second compiler beside MinGW-w64 GCC: clang
# targeting x86_64-w64-mingw32 with the MinGW-w64 headers and libraries (GCC's libstdc++ among them) and lld.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(BRENNIC_MINGW_PREFIX x86_64-w64-mingw32)
set(BRENNIC_CLANG_TARGET --target=${BRENNIC_MINGW_PREFIX})
set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET ${BRENNIC_MINGW_PREFIX})
set(CMAKE_CXX_COMPILER_TARGET ${BRENNIC_MINGW_PREFIX})
set(CMAKE_RC_COMPILER ${BRENNIC_MINGW_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${BRENNIC_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Clang takes the C++ library of the MinGW-w64 GCC (posix threads, as the GCC build uses it): its headers here,
# its libraries through -L; that libstdc++ needs winpthreads.
set(BRENNIC_MINGW_GCC /usr/lib/gcc/${BRENNIC_MINGW_PREFIX}/12-posix)
file(GLOB BRENNIC_MINGW_GCC_FOUND /usr/lib/gcc/${BRENNIC_MINGW_PREFIX}/*-posix)
if(BRENNIC_MINGW_GCC_FOUND)
  list(GET BRENNIC_MINGW_GCC_FOUND 0 BRENNIC_MINGW_GCC)
endif()
set(CMAKE_CXX_FLAGS_INIT "-isystem ${BRENNIC_MINGW_GCC}/include/c++ \
-isystem ${BRENNIC_MINGW_GCC}/include/c++/${BRENNIC_MINGW_PREFIX} -isystem ${BRENNIC_MINGW_GCC}/include/c++/backward")
set(CMAKE_CXX_STANDARD_LIBRARIES "-L${BRENNIC_MINGW_GCC} -lpthread")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fuse-ld=lld -L${BRENNIC_MINGW_GCC} -static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-fuse-ld=lld -L${BRENNIC_MINGW_GCC}")
# Header-only libraries of the build machine (toml++) are looked up outside the MinGW-w64 tree.
list(APPEND CMAKE_PREFIX_PATH /usr)
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
