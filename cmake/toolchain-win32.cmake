# win32 Windows with MinGW-w64.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(STAMPLETS_TARGET win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
