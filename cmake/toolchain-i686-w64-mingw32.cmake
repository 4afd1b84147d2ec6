# Cross-compiles Zelvo for 32-bit Windows, the shipping target.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(ZELVO_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
