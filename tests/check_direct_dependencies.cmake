# Fails when a binary has a direct dependency on a shared library it uses no
# symbol of (ldd -u -r lists them): each target links only what it uses.
foreach(binary ${BINARIES})
  execute_process(COMMAND ldd -u -r ${binary} OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(out MATCHES "Unused direct dependencies")
    message(FATAL_ERROR "${binary} links libraries it does not use:\n${out}")
  endif()
endforeach()
