# The i686 test build (-posix compilers, which GoogleTest needs) does not
# build plumeta.exe, plumsetup.exe and gsbridge.dll itself: it builds them in
# build/win32/shipped with the win32 thread-model compilers, exactly as they
# ship, and its tests run those files. The targets `plumeta`, `plumsetup` and
# `gsbridge` name the shipped files here.
include(ExternalProject)

set(PLUMETA_SHIPPED_DIR ${CMAKE_BINARY_DIR}/shipped)
set(shipped_plumeta ${PLUMETA_SHIPPED_DIR}/monitor/plumeta.exe)
set(shipped_plumsetup ${PLUMETA_SHIPPED_DIR}/setup/plumsetup.exe)
set(shipped_gsbridge ${PLUMETA_SHIPPED_DIR}/gsbridge/gsbridge.dll)
set(shipped_gsbridge_implib ${PLUMETA_SHIPPED_DIR}/gsbridge/libgsbridge.dll.a)

ExternalProject_Add(shipped_programs
  SOURCE_DIR ${CMAKE_SOURCE_DIR}
  BINARY_DIR ${PLUMETA_SHIPPED_DIR}
  CMAKE_GENERATOR ${CMAKE_GENERATOR}
  CMAKE_ARGS
    -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/toolchain-i686-w64-mingw32-shipped.cmake
    -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE}
    -DPLUMETA_TARGET=win32
    -DPLUMETA_SHIPPED_ONLY=ON
  # Its own Ninja decides what is out of date.
  BUILD_ALWAYS ON
  INSTALL_COMMAND ""
  USES_TERMINAL_BUILD ON
  BUILD_BYPRODUCTS ${shipped_plumeta} ${shipped_plumsetup} ${shipped_gsbridge}
                   ${shipped_gsbridge_implib})

add_executable(plumeta IMPORTED GLOBAL)
set_target_properties(plumeta PROPERTIES IMPORTED_LOCATION ${shipped_plumeta})
add_dependencies(plumeta shipped_programs)

add_executable(plumsetup IMPORTED GLOBAL)
set_target_properties(plumsetup PROPERTIES
  IMPORTED_LOCATION ${shipped_plumsetup})
add_dependencies(plumsetup shipped_programs)

add_library(gsbridge SHARED IMPORTED GLOBAL)
set_target_properties(gsbridge PROPERTIES
  IMPORTED_LOCATION ${shipped_gsbridge}
  IMPORTED_IMPLIB ${shipped_gsbridge_implib}
  INTERFACE_INCLUDE_DIRECTORIES ${CMAKE_SOURCE_DIR})
add_dependencies(gsbridge shipped_programs)
