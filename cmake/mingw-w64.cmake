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
