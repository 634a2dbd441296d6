# Cross-compiles for Windows with MinGW-w64; included by toolchain-win64.cmake
# and toolchain-win32.cmake once they have named the processor and target.
# The -posix compiler variant gives std::thread and std::mutex (used by the
# test and benchmark libraries); our binaries link libstdc++, libgcc and
# winpthreads statically.
set(CMAKE_SYSTEM_NAME Windows)
set(STAMPLETS_TRIPLET ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32)

set(CMAKE_C_COMPILER ${STAMPLETS_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${STAMPLETS_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${STAMPLETS_TRIPLET}-windres)

if(DEFINED ENV{STAMPLETS_CACHE})
  set(STAMPLETS_CACHE "$ENV{STAMPLETS_CACHE}")
else()
  set(STAMPLETS_CACHE "$ENV{HOME}/.cache/stamplets")
endif()
set(CMAKE_FIND_ROOT_PATH /usr/${STAMPLETS_TRIPLET} "${STAMPLETS_CACHE}/${STAMPLETS_TARGET}")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Prefer static archives: nothing we ship may need a MinGW DLL beside it.
set(CMAKE_FIND_LIBRARY_SUFFIXES .a)

set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/wine-run")
