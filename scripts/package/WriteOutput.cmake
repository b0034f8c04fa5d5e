# cmake -DPROGRAM=... -DARGUMENT=... -DOUTPUT=... -P WriteOutput.cmake: writes what the
# program prints for the argument into OUTPUT, and fails when the program fails.
execute_process(COMMAND ${PROGRAM} ${ARGUMENT} OUTPUT_FILE ${OUTPUT} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  file(REMOVE ${OUTPUT})
  message(FATAL_ERROR "${PROGRAM} ${ARGUMENT} failed: ${rc}")
endif()
