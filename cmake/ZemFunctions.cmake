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
#   zem_add_script_test(<name> <tester> <script> [JUNIT <file>] [TIMEOUT <seconds>])
#     A CTest test that runs the tester on the script (relative paths are
#     taken from the current source directory) in the current binary
#     directory, where the script's result file lands. It passes when the
#     tester exits with status 0. With TIMEOUT, the tester gets
#     "--time-limit <seconds>" before the script and ends any test of the
#     script that runs longer as a broken test. With JUNIT, the result file
#     is started afresh for each run and zem2junit turns it into <file>
#     (relative to the current binary directory), one testcase per test of
#     the script. Until the run has ended, <file> holds one error saying it
#     did not end, so a run that CTest kills on its timeout never leaves an
#     earlier run's verdict behind. A failed run ends with one plain line on
#     standard error.

# The file steps for JUNIT live beside this file, in the source tree and in
# the installed package alike.
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
  cmake_parse_arguments(PARSE_ARGV 3 ZEM "" "JUNIT;TIMEOUT" "")
  if(ZEM_UNPARSED_ARGUMENTS OR (DEFINED ZEM_JUNIT AND NOT ZEM_JUNIT) OR "TIMEOUT" IN_LIST ZEM_KEYWORDS_MISSING_VALUES)
    message(FATAL_ERROR "zem_add_script_test(${name}): expected <tester> <script> [JUNIT <file>] [TIMEOUT <seconds>]")
  endif()
  set(time_limit "")
  if(DEFINED ZEM_TIMEOUT)
    if(NOT ZEM_TIMEOUT MATCHES "^([0-9]+[.]?[0-9]*|[.][0-9]+)$" OR NOT ZEM_TIMEOUT GREATER 0)
      message(FATAL_ERROR "zem_add_script_test(${name}): TIMEOUT needs a number of seconds above 0, not \"${ZEM_TIMEOUT}\"")
    endif()
    set(time_limit --time-limit ${ZEM_TIMEOUT})
  endif()
  get_filename_component(script_path "${script}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
  if(TARGET "${tester}")
    set(tester_command $<TARGET_FILE:${tester}>)
  else()
    set(tester_command ${tester})
  endif()
  if(NOT ZEM_JUNIT)
    add_test(NAME ${name}
             COMMAND ${tester_command} ${time_limit} ${script_path}
             WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
    return()
  endif()
  if(NOT TARGET Zem::zem2junit)
    message(FATAL_ERROR "zem_add_script_test(${name}): JUNIT needs the zem2junit program")
  endif()
  get_filename_component(junit_path "${ZEM_JUNIT}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_BINARY_DIR}")
  # The command of a JUNIT test. A cmake -P script can end with a non-zero
  # status only through a "CMake Error" and its backtrace, which reads like a
  # broken build; the shell gives the verdict a line of its own instead.
  # Arguments: cmake, ZemScriptTest.cmake, script, XML, zem2junit, then the
  # tester's command and its options.
  set(shell [=[
cmake=$1 steps=$2 script=$3 junit=$4 zem2junit=$5
shift 5
"$cmake" -DSTEP=start -DSCRIPT="$script" -DJUNIT="$junit" -P "$steps" || exit 1
"$@" "$script"
status=$?
"$cmake" -DSTEP=finish -DSCRIPT="$script" -DJUNIT="$junit" -DZEM2JUNIT="$zem2junit" -DSTATUS=$status -P "$steps" || exit 1
test $status = 0 && exit 0
echo "$0: the tester exited with $status; the test cases are in $junit" >&2
exit $status
]=])
  add_test(NAME ${name}
           COMMAND sh -c "${shell}" ${name} ${CMAKE_COMMAND} ${ZEM_FUNCTIONS_DIR}/ZemScriptTest.cmake
                   ${script_path} ${junit_path} $<TARGET_FILE:Zem::zem2junit> ${tester_command} ${time_limit}
           WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
endfunction()
