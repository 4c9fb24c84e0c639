# The layout of src/: one static library per folder, linked in one direction only
#   basic <- data, settings <- print <- export, mail <- app <- windows <- entry <- apps, and ui (over
#   print and export) <- windows
# app/ is the application without widgets (each window's logic, the preview's logic, the headless print);
# windows/ holds the widgets over it.
# Each folder's library exposes its own headers and nothing else: its users include "folder/..."
# through an include root that holds that folder alone (a link to src/folder in the build tree), so a
# header of a library a target does not link cannot be found. The include check below turns an include
# against the direction into a configuration error.

if(CMAKE_SCRIPT_MODE_FILE)
  cmake_policy(VERSION 3.22)
endif()

# The folders each folder's code may include, besides its own.
set(SLP_INCLUDES_basic "")
set(SLP_INCLUDES_data "basic")
set(SLP_INCLUDES_settings "basic")
set(SLP_INCLUDES_print "basic;data;settings")
set(SLP_INCLUDES_export "basic;data;settings;print")
set(SLP_INCLUDES_mail "basic;data;settings")
set(SLP_INCLUDES_app "basic;data;settings;print;export;mail")
set(SLP_INCLUDES_ui "basic;data;settings;print;export")
set(SLP_INCLUDES_windows "basic;data;settings;print;export;mail;app;ui")
set(SLP_INCLUDES_entry "basic;data;settings;print;export;mail;app;ui;windows")
set(SLP_FOLDERS basic data settings print export mail app ui windows entry)

# slp_expose(TARGET FOLDER): TARGET's users include FOLDER's headers as "FOLDER/...".
function(slp_expose target folder)
  set(root ${CMAKE_BINARY_DIR}/include/${folder})
  if(NOT EXISTS ${root}/${folder})
    file(MAKE_DIRECTORY ${root})
    file(CREATE_LINK ${CMAKE_SOURCE_DIR}/src/${folder} ${root}/${folder} SYMBOLIC)
  endif()
  target_include_directories(${target} PUBLIC ${root})
endfunction()

# The include roots of every folder (the component's whole interface, for the program).
function(slp_all_include_roots out)
  set(roots "")
  foreach(folder ${SLP_FOLDERS})
    list(APPEND roots ${CMAKE_BINARY_DIR}/include/${folder})
  endforeach()
  set(${out} ${roots} PARENT_SCOPE)
endfunction()

# slp_check_includes(SOURCE_ROOT): fails the configuration when a file of a folder under SOURCE_ROOT
# includes a folder that folder may not include, naming the file, the line and the folders allowed.
function(slp_check_includes source_root)
  get_filename_component(source_root ${source_root} ABSOLUTE)
  set(problems "")
  foreach(folder ${SLP_FOLDERS})
    if(NOT IS_DIRECTORY ${source_root}/${folder})
      continue()
    endif()
    set(allowed ${SLP_INCLUDES_${folder}} ${folder})
    file(GLOB_RECURSE files ${source_root}/${folder}/*.h ${source_root}/${folder}/*.cpp)
    foreach(f ${files})
      file(STRINGS ${f} lines REGEX "^[ \t]*#[ \t]*include[ \t]+\"[A-Za-z_]+/")
      foreach(line ${lines})
        string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]+\"([A-Za-z_]+)/.*" "\\1" included "${line}")
        if(NOT included IN_LIST allowed)
          file(RELATIVE_PATH rel ${source_root} ${f})
          string(JOIN ", " may ${allowed})
          string(APPEND problems "  ${rel}: ${line}  (${folder}/ may include ${may})\n")
        endif()
      endforeach()
    endforeach()
  endforeach()
  if(problems)
    message(FATAL_ERROR "Includes against the direction of the layout:\n${problems}")
  endif()
endfunction()

# Run as a script (cmake -DSLP_CHECK_ROOT=DIR -P slp_layout.cmake): the include check alone.
if(CMAKE_SCRIPT_MODE_FILE AND SLP_CHECK_ROOT)
  slp_check_includes(${SLP_CHECK_ROOT})
endif()
