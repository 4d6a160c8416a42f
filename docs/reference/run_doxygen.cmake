# Builds the API reference of the public headers into OUT_DIR and fails on
# any Doxygen warning (an undocumented class or function, a broken reference).
file(REMOVE_RECURSE ${OUT_DIR})
file(MAKE_DIRECTORY ${OUT_DIR})
file(READ ${SOURCE_DIR}/docs/reference/Doxyfile doxyfile)
string(APPEND doxyfile "
INPUT = ${SOURCE_DIR}/wxtools ${SOURCE_DIR}/platform ${SOURCE_DIR}/docs/reference/mainpage.md ${SOURCE_DIR}/docs/reference/members.dox
INPUT_FILTER = \"python3 ${SOURCE_DIR}/docs/reference/comment_filter.py\"
STRIP_FROM_PATH = ${SOURCE_DIR}
STRIP_FROM_INC_PATH = ${SOURCE_DIR}
OUTPUT_DIRECTORY = ${OUT_DIR}
WARN_LOGFILE = ${OUT_DIR}/warnings.log
")
file(WRITE ${OUT_DIR}/Doxyfile "${doxyfile}")
execute_process(COMMAND ${DOXYGEN} ${OUT_DIR}/Doxyfile WORKING_DIRECTORY ${SOURCE_DIR} RESULT_VARIABLE rc
  OUTPUT_QUIET)
file(READ ${OUT_DIR}/warnings.log warnings)
if(NOT rc EQUAL 0 OR NOT warnings STREQUAL "")
  message(FATAL_ERROR "Doxygen failed or warned (${rc}):\n${warnings}")
endif()
message(STATUS "reference: ${OUT_DIR}/html/index.html")
