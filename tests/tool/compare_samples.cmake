# Runs the sample generator into WORK_DIR and compares every file it writes
# with the one of the same name in SAMPLES, byte for byte.
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
execute_process(COMMAND ${GENERATOR} ${WORK_DIR} RESULT_VARIABLE result ERROR_VARIABLE err)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the generator failed (${result}): ${err}")
endif()
file(GLOB generated RELATIVE ${WORK_DIR} ${WORK_DIR}/*)
if(generated STREQUAL "")
  message(FATAL_ERROR "the generator wrote nothing")
endif()
foreach(name ${generated})
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK_DIR}/${name} ${SAMPLES}/${name}
                  RESULT_VARIABLE differs)
  if(NOT differs EQUAL 0)
    message(FATAL_ERROR "samples/${name} differs from what the generator writes; run make_samples samples/")
  endif()
endforeach()
