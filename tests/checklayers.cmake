# scripts/check-layers passes on the tree and fails, naming file and line, on a
# copy of its layer table with one arrow the wrong way (commun -> link).
execute_process(COMMAND ${CHECK} ${ROOT} RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the tree breaks its layers:\n${err}")
endif()
set(bad ${WORK}/src/commun)
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${bad} ${WORK}/emulator)
file(WRITE ${bad}/wrong.cpp "#include \"commun/fine.h\"\n#include \"link/qprotocole.h\"\n")
execute_process(COMMAND ${CHECK} ${WORK} RESULT_VARIABLE rc ERROR_VARIABLE err)
if(rc EQUAL 0 OR NOT err MATCHES "wrong.cpp:2: src/commun/ may not include link/")
  message(FATAL_ERROR "a wrong arrow went through:\n${err}")
endif()
