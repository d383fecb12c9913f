# Checks gsbridge.dll's export table with objdump: the two plain names at
# ordinals 1 and 2 and nothing else.
# cmake -DOBJDUMP=... -DDLL=... -P check_exports.cmake
execute_process(COMMAND ${OBJDUMP} -p ${DLL}
  OUTPUT_VARIABLE dump RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} -p ${DLL} failed: ${status}")
endif()

string(REGEX MATCH "Export Address Table -- Ordinal Base ([0-9]+)" _ "${dump}")
if(NOT CMAKE_MATCH_1 STREQUAL "1")
  message(FATAL_ERROR "ordinal base is '${CMAKE_MATCH_1}', not 1")
endif()
string(REGEX MATCHALL "\\+base\\[ *[0-9]+\\]" addresses "${dump}")
list(LENGTH addresses address_count)
if(NOT address_count EQUAL 2)
  message(FATAL_ERROR "${address_count} exported addresses, not 2")
endif()

# In the name table "[   N] name" means ordinal base + N.
string(REGEX MATCH "\\[Ordinal/Name Pointer\\] Table\n([^\n]+\n)+" names
       "${dump}")
string(REGEX MATCHALL "\\[ *[0-9]+\\] [^\n]+" entries "${names}")
set(expected "[   0] CallGS;[   1] InstallCallBacks")
if(NOT entries STREQUAL expected)
  message(FATAL_ERROR "export names are '${entries}', not '${expected}'")
endif()
message(STATUS "${DLL}: ${entries}")
