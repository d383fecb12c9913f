# GoogleTest for both builds and the one function every suite adds its
# programs with.
if(CMAKE_CROSSCOMPILING)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest
                   EXCLUDE_FROM_ALL SYSTEM)
  if(NOT TARGET GTest::gtest)
    add_library(GTest::gtest ALIAS gtest)
    add_library(GTest::gtest_main ALIAS gtest_main)
    add_library(GTest::gmock ALIAS gmock)
  endif()
else()
  find_package(GTest REQUIRED)
  include(GoogleTest)
endif()

# plumeta_gtest(NAME LABEL SOURCES ... [LIBS ...])
# A native test program contributes one CTest test per test case; a Windows
# one runs whole under Wine, skipped (77) where Wine cannot run it.
function(plumeta_gtest name label)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main GTest::gmock)
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES LABELS ${label} SKIP_RETURN_CODE 77
                         TIMEOUT 300)
  else()
    gtest_discover_tests(${name} PROPERTIES LABELS ${label}
                         DISCOVERY_TIMEOUT 60)
  endif()
endfunction()
