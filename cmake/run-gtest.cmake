# Runs one GoogleTest program under the cross build's emulator and passes only
# when it exits 0 and GoogleTest itself reports that its tests passed: a Wine
# asked to run a program it cannot may print nothing and exit 0.
# cmake "-DNUV_COMMAND=EMULATOR|...|PROGRAM" -P run-gtest.cmake
string(REPLACE "|" ";" command "${NUV_COMMAND}")
execute_process(COMMAND ${command} RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
message("${output}")
if(NOT result STREQUAL "0")
  message(FATAL_ERROR "The test program ended with ${result}.")
elseif(NOT output MATCHES "\\[  PASSED  \\] [0-9]+ tests?\\.")
  message(FATAL_ERROR "The test program ended with 0 but without GoogleTest's report that its tests passed.")
endif()
