# Runs one window test with an empty data folder, so that nothing an earlier run stored there
# (a draw archive) changes what this run sees. Usage:
#   cmake -DDATA=<folder> -DTEST=<executable> -P RunWithFreshData.cmake
file(REMOVE_RECURSE "${DATA}")
file(MAKE_DIRECTORY "${DATA}")
execute_process(COMMAND "${TEST}" RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${TEST} failed: ${rc}")
endif()
