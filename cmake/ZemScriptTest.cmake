# The file steps around one script run of zem_add_script_test(... JUNIT
# <file>); the test's shell command runs the tester between them:
#   cmake -DSTEP=start -DSCRIPT=... -DJUNIT=... -P ZemScriptTest.cmake
#   cmake -DSTEP=finish -DSCRIPT=... -DJUNIT=... -DZEM2JUNIT=... -DSTATUS=... -P ZemScriptTest.cmake
# CTest's timeout kills the run with no chance to write anything after it,
# so start leaves an XML that says the run did not end, and only finish
# replaces it with what zem2junit makes of the result file. A reader sees
# either whole document: both are written beside <file> and renamed onto it.
# The result file is named by the script's "resultfile" statement. It is
# only ever appended to, so start removes it: the XML must tell about this
# run and no earlier one.
foreach(var STEP SCRIPT JUNIT)
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

function(xml_escape var)
  set(text "${${var}}")
  string(REPLACE "&" "&amp;" text "${text}")
  string(REPLACE "<" "&lt;" text "${text}")
  string(REPLACE ">" "&gt;" text "${text}")
  string(REPLACE "\"" "&quot;" text "${text}")
  set(${var} "${text}" PARENT_SCOPE)
endfunction()

# One error testcase, in the suite zem2junit would name after the script.
function(write_error_junit type message text)
  get_filename_component(suite "${SCRIPT}" NAME)
  string(FIND "${suite}" "." dot)
  if(dot GREATER 0)
    string(SUBSTRING "${suite}" 0 ${dot} suite)
  endif()
  foreach(var suite type message text)
    xml_escape(${var})
  endforeach()
  set(counts "tests=\"1\" failures=\"0\" errors=\"1\"")
  file(WRITE "${JUNIT}.part"
       "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<testsuites ${counts}>\n"
       "  <testsuite name=\"${suite}\" ${counts} skipped=\"0\">\n"
       "    <testcase name=\"run\" classname=\"${suite}\">\n"
       "      <error message=\"${message}\" type=\"${type}\">${text}</error>\n"
       "    </testcase>\n  </testsuite>\n</testsuites>\n")
  file(RENAME "${JUNIT}.part" "${JUNIT}")
endfunction()

if(STEP STREQUAL "start")
  get_filename_component(junit_dir "${JUNIT}" DIRECTORY)
  file(MAKE_DIRECTORY "${junit_dir}")
  write_error_junit("unfinished run" "the run did not end: killed or timed out"
                    "The tester started on ${SCRIPT} and nothing recorded its end.\n")
  file(REMOVE "${result_file}")
  return()
endif()

foreach(var ZEM2JUNIT STATUS)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "ZemScriptTest.cmake: ${var} not given")
  endif()
endforeach()
execute_process(COMMAND "${ZEM2JUNIT}" "${result_file}" "${SCRIPT}"
                OUTPUT_FILE "${JUNIT}.part" RESULT_VARIABLE junit_status)
if(NOT junit_status MATCHES "^[01]$")
  message(FATAL_ERROR "zem2junit failed (${junit_status}); ${JUNIT} still says the run did not end")
endif()
# A tester that died of a signal it cannot report (the kernel's kill, for
# one) leaves only the blocks of the tests that passed before.
if(junit_status STREQUAL "0" AND NOT STATUS STREQUAL "0")
  write_error_junit("exit status" "the tester exited with ${STATUS}; the result file shows no failure"
                    "See ${result_file} for the tests that ran.\n")
else()
  file(RENAME "${JUNIT}.part" "${JUNIT}")
endif()
