# Fails when a portable source includes an OS header or reaches into a
# platform implementation. The portable folders see the system only through
# the interfaces in platform/*.h, so they may include the C++ standard
# library and each other, nothing else in angle brackets.
#
#   cmake -DSOURCE_DIR=<source folder> -P check_portable_includes.cmake

file(GLOB_RECURSE portable RELATIVE "${SOURCE_DIR}"
  "${SOURCE_DIR}/common/*.h" "${SOURCE_DIR}/common/*.cpp"
  "${SOURCE_DIR}/widgets/*.h" "${SOURCE_DIR}/widgets/*.cpp"
  "${SOURCE_DIR}/monitor/*.h" "${SOURCE_DIR}/monitor/*.cpp"
  "${SOURCE_DIR}/setup/*.h" "${SOURCE_DIR}/setup/*.cpp")
file(GLOB interfaces RELATIVE "${SOURCE_DIR}"
  "${SOURCE_DIR}/platform/*.h" "${SOURCE_DIR}/platform/*.cpp")

set(violations "")
foreach(source IN LISTS portable interfaces)
  file(STRINGS "${SOURCE_DIR}/${source}" includes
       REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*" "" header "${line}")
    # Standard C++ headers have no extension; <foo.h> is a C or OS header.
    if(header MATCHES "^<[^>]*\\.[^>]*>" OR
       header MATCHES "^\"platform/(win32|host)/")
      string(APPEND violations "  ${source}: #include ${header}\n")
    endif()
  endforeach()
endforeach()

if(violations)
  message(FATAL_ERROR
    "Portable code must reach the system only through platform/*.h:\n"
    "${violations}")
endif()
list(LENGTH portable portable_count)
list(LENGTH interfaces interface_count)
message(STATUS
  "${portable_count} portable files and ${interface_count} interface files "
  "include no OS header")
