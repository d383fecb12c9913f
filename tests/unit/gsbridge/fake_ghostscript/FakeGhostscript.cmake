# Builds the fake Ghostscript libraries into OUTPUT_DIR: the recorder, the
# complete fake named COMPLETE_NAME (without suffix), and one fake without
# each entry point, named fake_gs_without_<entry point>. Sets
# FAKE_GHOSTSCRIPT_TARGETS in the caller's scope.
function(plumeta_add_fake_ghostscript)
  cmake_parse_arguments(F "" "OUTPUT_DIR;COMPLETE_NAME" "" ${ARGN})
  set(here ${CMAKE_CURRENT_FUNCTION_LIST_DIR})
  set(output_properties
    LIBRARY_OUTPUT_DIRECTORY ${F_OUTPUT_DIR}
    RUNTIME_OUTPUT_DIRECTORY ${F_OUTPUT_DIR}
    CXX_VISIBILITY_PRESET hidden)

  add_library(fake_gs_recorder SHARED ${here}/recorder.cpp)
  target_compile_definitions(fake_gs_recorder PRIVATE FAKE_GS_BUILDING_RECORDER)
  target_include_directories(fake_gs_recorder PUBLIC ${here})
  set_target_properties(fake_gs_recorder PROPERTIES ${output_properties}
    PREFIX "")
  set(targets fake_gs_recorder)

  set(variants complete gsapi_new_instance gsapi_set_stdio gsapi_init_with_args
      gsapi_run_string gsapi_exit gsapi_delete_instance)
  foreach(variant IN LISTS variants)
    if(variant STREQUAL "complete")
      set(target fake_gs)
      set(output_name ${F_COMPLETE_NAME})
    else()
      set(target fake_gs_without_${variant})
      set(output_name ${target})
    endif()
    add_library(${target} SHARED ${here}/fake_ghostscript.cpp)
    target_link_libraries(${target} PRIVATE fake_gs_recorder)
    if(NOT variant STREQUAL "complete")
      string(TOUPPER ${variant} upper)
      target_compile_definitions(${target} PRIVATE FAKE_GS_WITHOUT_${upper})
    endif()
    if(WIN32)
      # Export gsapi_exit, not the i686 stdcall name gsapi_exit@4.
      target_link_options(${target} PRIVATE -Wl,--kill-at)
    endif()
    set_target_properties(${target} PROPERTIES ${output_properties}
      PREFIX "" OUTPUT_NAME ${output_name})
    list(APPEND targets ${target})
  endforeach()
  set(FAKE_GHOSTSCRIPT_TARGETS ${targets} PARENT_SCOPE)
endfunction()
