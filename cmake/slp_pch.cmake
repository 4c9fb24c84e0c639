# One precompiled header for the whole component: Qt and the standard library, parsed once instead of
# in every source file. It is made with the fewest definitions any library of the component has
# (QT_CORE_LIB), so that every library, whatever Qt modules it links, can use it as it is.

set(SLP_PCH_HEADER ${CMAKE_SOURCE_DIR}/cmake/component_pch.h)

add_library(slp_pch STATIC ${CMAKE_SOURCE_DIR}/cmake/component_pch.cpp)
target_link_libraries(slp_pch PRIVATE Qt6::Core)
foreach(module Gui Widgets Sql PrintSupport)
  target_include_directories(slp_pch SYSTEM PRIVATE
    $<TARGET_PROPERTY:Qt6::${module},INTERFACE_INCLUDE_DIRECTORIES>)
endforeach()
target_precompile_headers(slp_pch PRIVATE ${SLP_PCH_HEADER})

# Every static library of src/ and apps/ (and the component's own sources) reuse that header.
function(slp_reuse_component_pch)
  set(targets slp_basic slp_jet slp_data slp_settings slp_print slp_export slp_mail slp_ui slp_entry
      slp_private slp_program)
  file(GLOB app_dirs LIST_DIRECTORIES true ${CMAKE_SOURCE_DIR}/src/app/*)
  foreach(d ${app_dirs})
    get_filename_component(name ${d} NAME)
    list(APPEND targets slp_app_${name})
  endforeach()
  file(GLOB window_dirs LIST_DIRECTORIES true ${CMAKE_SOURCE_DIR}/src/windows/*)
  foreach(d ${window_dirs})
    get_filename_component(name ${d} NAME)
    list(APPEND targets slp_win_${name})
  endforeach()
  foreach(t ${targets})
    if(TARGET ${t})
      target_precompile_headers(${t} REUSE_FROM slp_pch)
    endif()
  endforeach()
endfunction()
