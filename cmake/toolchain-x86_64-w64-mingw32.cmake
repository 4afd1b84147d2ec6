# Cross-compiles Zelvo for 64-bit Windows, the build that runs here under wine64.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(ZELVO_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)

# CTest runs the Windows test programs through this wrapper.
get_filename_component(ZELVO_SOURCE_ROOT "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR "${ZELVO_SOURCE_ROOT}/scripts/wine-run")
