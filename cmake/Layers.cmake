# SPDX-License-Identifier: GPL-3.0-or-later
# The core is built as one static library per folder of src/. Each folder names the folders it may
# include; a folder may only name folders declared before it, so the graph has no cycle. A build
# step scans the folder's #include lines and fails on any folder it has not named.

set(CADENZO_LAYER_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/check_layer_includes.cmake)
set_property(GLOBAL PROPERTY CADENZO_LAYER_GRAPH "")

# Fails the build of TARGET when a file in src/FOLDER includes a folder outside FOLDER and ALLOWED.
function(cadenzo_check_includes TARGET FOLDER)
  set(allowed ${ARGN})
  set(dir ${PROJECT_SOURCE_DIR}/src/${FOLDER})
  file(GLOB_RECURSE files CONFIGURE_DEPENDS ${dir}/*.h ${dir}/*.cpp)
  set(stamp ${CMAKE_BINARY_DIR}/layers/${FOLDER}.ok)
  string(REPLACE ";" "," allowed_list "${allowed}")
  add_custom_command(
    OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -DFOLDER=${FOLDER} -DDIR=${dir} "-DALLOWED=${allowed_list}"
            -DSTAMP=${stamp} -P ${CADENZO_LAYER_SCRIPT}
    DEPENDS ${files} ${CADENZO_LAYER_SCRIPT}
    COMMENT "Checking the includes of src/${FOLDER}"
    VERBATIM)
  add_custom_target(${TARGET}_includes DEPENDS ${stamp})
  add_dependencies(${TARGET} ${TARGET}_includes)
  cadenzo_record_layer(${FOLDER} ${allowed})
endfunction()

# Adds "FOLDER: folders..." to the declared graph; a folder left out of this build (the windows)
# records its declaration all the same, so the graph is one for every configuration.
function(cadenzo_record_layer FOLDER)
  list(JOIN ARGN " " words)
  string(STRIP "${FOLDER}: ${words}" line)
  set_property(GLOBAL APPEND PROPERTY CADENZO_LAYER_GRAPH "${line}")
endfunction()

# cadenzo_layer(NAME DEPENDS folder...): the static library cadenzo_NAME of src/NAME.
function(cadenzo_layer NAME)
  cmake_parse_arguments(PARSE_ARGV 1 ARG "" "" "DEPENDS")
  foreach(dep IN LISTS ARG_DEPENDS)
    if(NOT TARGET cadenzo_${dep})
      message(FATAL_ERROR "Layer ${NAME} depends on ${dep}, which is not declared before it")
    endif()
  endforeach()
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/${NAME}/*.cpp)
  add_library(cadenzo_${NAME} STATIC ${sources})
  target_include_directories(cadenzo_${NAME} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  list(TRANSFORM ARG_DEPENDS PREPEND cadenzo_ OUTPUT_VARIABLE dep_targets)
  target_link_libraries(cadenzo_${NAME} PUBLIC ${dep_targets})
  cadenzo_warnings(cadenzo_${NAME})
  cadenzo_check_includes(cadenzo_${NAME} ${NAME} ${ARG_DEPENDS})
endfunction()

# Writes the declared graph, one "folder: folders it may include" line each, for the test that
# holds docs/architecture.md to it.
function(cadenzo_write_layer_graph FILE)
  get_property(graph GLOBAL PROPERTY CADENZO_LAYER_GRAPH)
  list(JOIN graph "\n" text)
  file(WRITE ${FILE} "${text}\n")
endfunction()
