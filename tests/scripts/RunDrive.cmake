# Runs one driver script and compares what it printed with the expected output.
# A script may check that a line fails: the driver must then exit with 1, else 0.
execute_process(COMMAND ${DRIVER} ${SCRIPT}
    OUTPUT_VARIABLE actual ERROR_VARIABLE errors RESULT_VARIABLE status)
file(READ ${EXPECTED} expected)
if(NOT actual STREQUAL expected)
    message(FATAL_ERROR "output differs from ${EXPECTED}; the driver printed:\n${actual}\n${errors}")
endif()
string(FIND "${actual}" "fail\t" failLine)
if(failLine EQUAL -1)
    set(expectedStatus 0)
else()
    set(expectedStatus 1)
endif()
if(NOT status EQUAL expectedStatus)
    message(FATAL_ERROR "driver exited with ${status}, expected ${expectedStatus}\n${errors}")
endif()
# Windows still open at the end go before the application does, their PDF
# pages' rendering with them: a mutex destroyed while held means they did not.
if(errors MATCHES "destroying locked mutex")
    message(FATAL_ERROR "the driver ended with a PDF page still rendering:\n${errors}")
endif()
