# Cross build for i686 Windows with MinGW-w64. The -posix compilers are the
# ones whose libstdc++ has std::thread and std::mutex (GoogleTest needs them).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(PLUMETA_MINGW_PREFIX i686-w64-mingw32)
set(CMAKE_C_COMPILER ${PLUMETA_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${PLUMETA_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${PLUMETA_MINGW_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${PLUMETA_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Tests run under Wine through a wrapper that keeps one wineserver alive.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
