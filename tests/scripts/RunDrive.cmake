# Runs one driver script and compares what it printed with the expected output.
execute_process(COMMAND ${DRIVER} ${SCRIPT}
    OUTPUT_VARIABLE actual ERROR_VARIABLE errors RESULT_VARIABLE status)
file(READ ${EXPECTED} expected)
if(NOT actual STREQUAL expected)
    message(FATAL_ERROR "output differs from ${EXPECTED}; the driver printed:\n${actual}\n${errors}")
endif()
if(NOT status EQUAL 0)
    message(FATAL_ERROR "driver exited with ${status}\n${errors}")
endif()
