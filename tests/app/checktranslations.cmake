# Runs LUPDATE over SOURCES into a copy of TS and fails when the copy has an
# unfinished entry (a text missing from TS or not translated) or an obsolete or
# vanished one (a text the sources no longer have).
get_filename_component(name ${TS} NAME)
set(copy ${WORK}/${name})
file(READ ${TS} original)
file(WRITE ${copy} "${original}") # afresh: a copy lupdate changed last time is no start
execute_process(COMMAND ${LUPDATE} ${SOURCES} -extensions cpp,h,ui -locations none
                        -source-language fr -target-language en -ts ${copy}
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
file(READ ${copy} ts)
string(REGEX MATCHALL "<source>[^<]*</source>[ \n]*<translation type=\"(unfinished|obsolete|vanished)\"" bad "${ts}")
if(NOT rc EQUAL 0 OR bad)
  string(REPLACE ";" "\n" bad "${bad}")
  message(FATAL_ERROR "${TS} is incomplete (lupdate ${rc}); update it with lupdate and translate:\n${bad}\n${out}")
endif()
