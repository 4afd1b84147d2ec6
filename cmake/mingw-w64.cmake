# Shared part of the mingw-w64 toolchain files: ZELVO_TRIPLE names the target.
set(CMAKE_SYSTEM_NAME Windows)

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

# CTest runs the Windows test programs of both widths through this wrapper: wine64 runs the
# 32-bit ones too, in a WoW64 prefix.
get_filename_component(ZELVO_SOURCE_ROOT "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR "${ZELVO_SOURCE_ROOT}/scripts/wine-run")
