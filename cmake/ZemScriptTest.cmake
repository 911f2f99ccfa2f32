# One script run for zem_add_script_test(... JUNIT <file>), as a CTest test:
#   cmake -DTESTER=... -DSCRIPT=... -DJUNIT=... -DZEM2JUNIT=... -P ZemScriptTest.cmake
# The result file is named by the script's "resultfile" statement. It is only
# ever appended to, so it is removed first: the XML must tell about this run
# and no earlier one. The test's verdict is the tester's exit status; the XML
# is written whatever that is, since a failing run is what CI must show.
foreach(var TESTER SCRIPT JUNIT ZEM2JUNIT)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "ZemScriptTest.cmake: ${var} not given")
  endif()
endforeach()

file(READ "${SCRIPT}" script_text)
# Strings have no escapes and no quotes inside, so the first quoted text
# after the keyword is the name.
string(REGEX MATCH "resultfile[ \t\r\n;]*\"([^\"\n]*)\"" found "${script_text}")
set(result_file "${CMAKE_MATCH_1}")
if(result_file STREQUAL "")
  set(result_file "no-resultfile-statement-in-the-script")
endif()
file(REMOVE "${result_file}")

execute_process(COMMAND "${TESTER}" "${SCRIPT}" RESULT_VARIABLE status)
get_filename_component(junit_dir "${JUNIT}" DIRECTORY)
file(MAKE_DIRECTORY "${junit_dir}")
execute_process(COMMAND "${ZEM2JUNIT}" "${result_file}" "${SCRIPT}"
                OUTPUT_FILE "${JUNIT}" RESULT_VARIABLE junit_status)
if(NOT junit_status MATCHES "^[01]$")
  message(FATAL_ERROR "zem2junit failed (${junit_status}); no XML in ${JUNIT}")
endif()
if(NOT status STREQUAL "0")
  message(FATAL_ERROR "the tester exited with ${status}; test cases in ${JUNIT}")
endif()
