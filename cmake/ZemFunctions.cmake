# Helpers for projects that build testers on the Zem harness.
#
#   zem_add_tester(<target> <sources>...)
#     A tester program: the sources are linked in directly (so that their
#     global ZemCall registrations are kept) with a main that hands its
#     arguments to zemloop.
#
#   zem_add_viewer(<target> <sources>...)
#     A ZemViewer with the given test functions linked in directly, beside
#     its built-in "zemtst"; batch mode and local Run call them.
#
#   zem_add_script_test(<name> <tester> <script> [JUNIT <file>])
#     A CTest test that runs the tester on the script (relative paths are
#     taken from the current source directory) in the current binary
#     directory, where the script's result file lands. It passes when the
#     tester exits with status 0. With JUNIT, the result file is started
#     afresh for each run and zem2junit turns it into <file> (relative to
#     the current binary directory), one testcase per test of the script.

# The run script for JUNIT lives beside this file, in the source tree and
# in the installed package alike.
set(ZEM_FUNCTIONS_DIR ${CMAKE_CURRENT_LIST_DIR} CACHE INTERNAL "where ZemFunctions.cmake is")

function(zem_add_tester target)
  if(NOT ARGN)
    message(FATAL_ERROR "zem_add_tester(${target}): no sources given")
  endif()
  add_executable(${target} ${ZEM_MAIN_SOURCE} ${ARGN})
  target_link_libraries(${target} PRIVATE Zem::ZemTester)
endfunction()

function(zem_add_viewer target)
  if(NOT ARGN)
    message(FATAL_ERROR "zem_add_viewer(${target}): no sources given")
  endif()
  add_executable(${target} ${ZEM_VIEWER_MAIN_SOURCE} ${ARGN})
  target_link_libraries(${target} PRIVATE Zem::ZemViewerCore)
endfunction()

function(zem_add_script_test name tester script)
  cmake_parse_arguments(PARSE_ARGV 3 ZEM "" "JUNIT" "")
  if(ZEM_UNPARSED_ARGUMENTS OR (DEFINED ZEM_JUNIT AND NOT ZEM_JUNIT))
    message(FATAL_ERROR "zem_add_script_test(${name}): expected <tester> <script> [JUNIT <file>]")
  endif()
  get_filename_component(script_path "${script}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
  if(TARGET ${tester})
    set(tester_command $<TARGET_FILE:${tester}>)
  else()
    set(tester_command ${tester})
  endif()
  if(NOT ZEM_JUNIT)
    add_test(NAME ${name}
             COMMAND ${tester_command} ${script_path}
             WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
    return()
  endif()
  if(NOT TARGET Zem::zem2junit)
    message(FATAL_ERROR "zem_add_script_test(${name}): JUNIT needs the zem2junit program")
  endif()
  get_filename_component(junit_path "${ZEM_JUNIT}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_BINARY_DIR}")
  add_test(NAME ${name}
           COMMAND ${CMAKE_COMMAND} -DTESTER=${tester_command} -DSCRIPT=${script_path}
                   -DJUNIT=${junit_path} -DZEM2JUNIT=$<TARGET_FILE:Zem::zem2junit>
                   -P ${ZEM_FUNCTIONS_DIR}/ZemScriptTest.cmake
           WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
endfunction()
