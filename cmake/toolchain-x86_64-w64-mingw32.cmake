# Cross-compiles Zelvo for Windows (x86_64) with mingw-w64.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(ZELVO_TRIPLE x86_64-w64-mingw32)

# The -posix variants: their C++ library has std::mutex and std::thread (GoogleTest needs
# them). Everything is linked statically, so no threading DLL travels with the binaries.
set(CMAKE_C_COMPILER   ${ZELVO_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZELVO_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER  ${ZELVO_TRIPLE}-windres)
set(CMAKE_DLLTOOL      ${ZELVO_TRIPLE}-dlltool)

set(CMAKE_FIND_ROOT_PATH /usr/${ZELVO_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# 64-bit Windows programs run here under wine64: CTest runs them through this wrapper.
get_filename_component(ZELVO_SOURCE_ROOT "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR "${ZELVO_SOURCE_ROOT}/scripts/wine-run")
