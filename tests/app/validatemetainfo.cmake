# Runs appstreamcli validate (offline, strict) on FILE, whose latest release must be
# VERSION; fails when the tool is missing (package appstream).
execute_process(COMMAND appstreamcli validate --no-net --strict ${FILE}
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
file(READ ${FILE} xml)
if(NOT rc EQUAL 0 OR NOT xml MATCHES "<releases>[ \n]*<release version=\"${VERSION}\"")
  message(FATAL_ERROR "${FILE}: invalid (${rc}), or its latest release is not ${VERSION}:\n${out}")
endif()
