# Runs velmora-css with no options and compares its standard output byte for byte.
execute_process(COMMAND ${PROGRAM} OUTPUT_FILE ${ACTUAL} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "velmora-css exited with ${status}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${EXPECTED} ${ACTUAL} RESULT_VARIABLE differs)
if(differs)
    message(FATAL_ERROR "velmora-css output differs from ${EXPECTED}")
endif()
