# win64 Windows with MinGW-w64.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(STAMPLETS_TARGET win64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
