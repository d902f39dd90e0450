# Installs the freshly built library into a private prefix, then configures,
# builds and runs the consumer host against that prefix.
set(prefix ${WORK_DIR}/prefix)
set(host_build ${WORK_DIR}/build)
file(REMOVE_RECURSE ${WORK_DIR})

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "failed (${result}): ${ARGN}\n${out}\n${err}")
  endif()
endfunction()

run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix} --component Unspecified)
# A sanitized library needs the sanitizer runtimes linked into its host.
set(host_flags "")
if(SANITIZE)
  set(host_flags -DCMAKE_EXE_LINKER_FLAGS=-fsanitize=address,undefined)
endif()
run(${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${host_build} -G ${GENERATOR} -DCMAKE_PREFIX_PATH=${prefix} ${host_flags})
run(${CMAKE_COMMAND} --build ${host_build})
run(${host_build}/consumer)
message(STATUS "consumer host built against the installed package and ran")
