# Runs desktop-file-validate on DESKTOP_FILE; fails on any error, warning or
# hint, and when the tool is missing (package desktop-file-utils).
find_program(VALIDATE desktop-file-validate)
if(NOT VALIDATE)
  message(FATAL_ERROR "desktop-file-validate not found: install desktop-file-utils")
endif()
execute_process(COMMAND ${VALIDATE} ${DESKTOP_FILE}
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0 OR NOT out STREQUAL "")
  message(FATAL_ERROR "${DESKTOP_FILE}:\n${out}")
endif()
message(STATUS "${DESKTOP_FILE}: valid")
