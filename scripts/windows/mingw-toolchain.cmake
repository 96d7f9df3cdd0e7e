# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (posix threads).
# KOVADLE_WIN_PREFIX: the folders the Windows libraries are installed in (Qt, glog,
# libcurl, GoogleTest, ...), a CMake list.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KOVADLE_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KOVADLE_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KOVADLE_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${KOVADLE_MINGW_TRIPLE}-windres)

# Passed down to try_compile projects, which reload this file.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES KOVADLE_WIN_PREFIX)

set(CMAKE_FIND_ROOT_PATH /usr/${KOVADLE_MINGW_TRIPLE})
if(KOVADLE_WIN_PREFIX)
  list(APPEND CMAKE_FIND_ROOT_PATH ${KOVADLE_WIN_PREFIX})
  list(APPEND CMAKE_PREFIX_PATH ${KOVADLE_WIN_PREFIX})
endif()
# Host programs (moc, lrelease) from the host; libraries and headers only from the targets.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
