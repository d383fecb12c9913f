# The programs we ship for 32-bit Windows: the same cross build with the
# win32 thread-model compilers. Their static runtime carries no winpthreads,
# whose imports (GetTickCount64, vectored exception handlers,
# TryEnterCriticalSection, GetHandleInformation) keep a program from loading
# before Windows Vista. GoogleTest needs the -posix compilers, so the test
# programs are built apart (toolchain-i686-w64-mingw32.cmake).
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-i686-w64-mingw32.cmake)
set(CMAKE_C_COMPILER ${PLUMETA_MINGW_PREFIX}-gcc-win32)
set(CMAKE_CXX_COMPILER ${PLUMETA_MINGW_PREFIX}-g++-win32)
