# Lists the symbols that the library's objects define, for the export generator.
#   cmake -DNM=<nm> -DOUT=<file> -DOBJECTS=<a.obj;b.obj> -P cmake/list_symbols.cmake
execute_process(COMMAND ${NM} -g --defined-only ${OBJECTS}
                OUTPUT_FILE ${OUT} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "listing the symbols of the library's objects failed: ${result}")
endif()
